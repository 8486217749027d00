// The running program without its window: the console log and counters,
// the command line, the start-up lines, the server with its routes and
// state, and the actions of the window's buttons. `mirelon serve` drives
// one of these from the terminal, the desktop window from its buttons.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log/ConsoleLog.h"
#include "log/StatusCounters.h"

namespace mirelon {

struct TAppFolders {
  std::filesystem::path Documents;  // holds Mirelon/Mirelon.json, the stored programs
  std::filesystem::path AppData;    // holds Mirelon/Mirelon.json, the options, and the instance lock
};

class TApplication {
 public:
  // DefaultService: the maker's service used without --service= (empty:
  // offline). Nothing is logged before Create.
  TApplication(TAppFolders Folders, std::string DefaultService);
  ~TApplication();  // FormDestroy: stops the server, drops later log lines

  // Attach sinks, the window's flush and the counters' display first.
  TConsoleLog& Log() { return FLog; }
  TStatusCounters& Counters() { return FCounters; }

  // The start-up of the window's creation: reads the command line
  // ("--port=", "--start", "--stopping=", "--offline", "--service=", others
  // ignored) with its log lines, the welcome lines, the update check (to
  // its end, on this thread), the storage preparation and its line.
  void Create(const std::vector<std::string>& Args);
  // Asked while the update check of Create runs; true ends the check at
  // once (`mirelon serve` on SIGINT). Set before Create.
  void SetStartupCancel(std::function<bool()> Cancelled);

  bool AutoStart() const;
  bool ProjectsReady() const;
  int Port() const;
  int StoppingMinutes() const;
  bool ServerActive() const;

  // "Démarrer le serveur" / "Arrêter le serveur": starts when inactive,
  // stops otherwise, with their log lines. True when active afterwards.
  bool ToggleServer();
  bool StartServer();  // no-op when active
  void StopServer();   // no-op when inactive
  // "Go ! Mirelon" up to the browser: starts the server when inactive; the
  // address "http://localhost:%d/auth?token=%s" when it is active, else
  // logs "# Impossible de démarrer le serveur." and gives "".
  std::string PrepareWorkbenchAddress();
  std::string HelpAddress() const;  // the address "Go ! Aide" opens
  // "Effacer la console" after the window emptied its memo: the four welcome lines.
  void LogWelcomeAgain();
  void LogAbout();  // "?"
  // "Quitter" before the window closes: "# Fermeture en cours..." and a
  // stop when the server is active.
  void Quit();

  // The server's address once it listens ("Ouvre ..." of `mirelon serve`).
  std::string WorkbenchAddress() const;

 private:
  struct TImpl;
  void LogWelcome();

  TAppFolders FFolders;
  std::string FDefaultService;
  std::function<bool()> FStartupCancel;
  TConsoleLog FLog;
  TStatusCounters FCounters;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace mirelon
