#include "shell/ServeCommand.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "server/Application.h"
#include "server/DocumentsFolder.h"
#include "server/InstanceLock.h"
#include "shell/Console.h"

namespace mirelon {
namespace {

// SIGINT and SIGTERM, taken by a thread of their own: every other thread
// (connections, runs) is started after they were blocked, so none of them
// is ever interrupted.
class TStopSignals {
 public:
  TStopSignals() {
    sigemptyset(&FSignals);
    sigaddset(&FSignals, SIGINT);
    sigaddset(&FSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &FSignals, nullptr);
    std::thread([this] {
      int Number = 0;
      sigwait(&FSignals, &Number);
      std::lock_guard Lock(FLock);
      FStopped = true;
      FChanged.notify_all();
    }).detach();
  }

  bool Stopped() const { return FStopped; }
  void Wait() {
    std::unique_lock Lock(FLock);
    FChanged.wait(Lock, [this] { return FStopped.load(); });
  }

 private:
  sigset_t FSignals;
  std::mutex FLock;
  std::condition_variable FChanged;
  std::atomic<bool> FStopped{false};
};

}  // namespace

int RunServeCommand(const std::vector<std::string>& Args) {
  // Static: the signal thread outlives this function until the process ends.
  static TStopSignals Signals;
  const TAppFolders Folders{DocumentsFolder(), AppDataFolder()};
  const TInstanceLock Instance(Folders.AppData);
  if (!Instance.Held()) {
    WriteErrorLine("Une instance d'Mirelon est déjà en cours d'exécution.");
    return 0;
  }
  TApplication App(Folders, MIRELON_DEFAULT_SERVICE);
  App.Log().AddSink(StdoutSink());
  if (!Instance.Guarding()) App.Log().ELogEvent(Instance.UnguardedLine());
  App.SetStartupCancel([] { return Signals.Stopped(); });
  App.Create(Args);
  if (Signals.Stopped()) return 0;
  if (!App.StartServer()) return 1;
  const std::string Line = "Ouvre " + App.WorkbenchAddress() + "\n";
  fwrite(Line.data(), 1, Line.size(), stdout);
  fflush(stdout);
  Signals.Wait();
  App.StopServer();
  return 0;
}

}  // namespace mirelon
