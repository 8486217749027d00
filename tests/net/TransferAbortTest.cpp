// A run that waits for a transfer ends as soon as its abort is asked for,
// through the client's cancel check (a session, and "mirelon run" with
// Ctrl-C). Bounds are generous: a loaded 2-core machine.
#include <signal.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "TestHttpsServer.h"
#include "tests/session/BusyPrograms.h"
#include "tests/shell/MirelonProcess.h"

using namespace mirelon;
using namespace mirelon::test;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

}  // namespace

TEST(TransferAbort, ARunWaitingForATransferStopsAtOnce) {
  TSilentListener Silent;
  for (const TBusyProgram& Busy : StalledTransfers(Silent.Port())) {
    TAbortLatency Latency = MeasureAbort(Busy.Program);
    ASSERT_FALSE(Latency.EndedBefore) << Busy.Name;
    EXPECT_EQ(Latency.State, ssAborted) << Busy.Name;
    EXPECT_LT(Latency.TurnEndMs, 1000) << Busy.Name;
  }
}

// The failed transfer is not an error of the program: "essayer" does not
// see it, and no file is left behind.
TEST(TransferAbort, EssayerDoesNotCatchTheAbortOfATransfer) {
  TSilentListener Silent;
  std::filesystem::path Folder = std::filesystem::temp_directory_path() / ("mirelon-abort-" + std::to_string(getpid()));
  std::filesystem::create_directories(Folder);
  std::string Url = "'https://127.0.0.1:" + std::to_string(Silent.Port()) + "/image.png'";
  TAbortLatency Latency = MeasureAbort("essayer\n  affiche 'prêt'\n  x vaut télécharger(" + Url + ", '" +
                                       Folder.string() + "')\nattraper e\n  affiche 'attrapé'\nfin essayer\n");
  EXPECT_EQ(Latency.State, ssAborted);
  EXPECT_TRUE(std::filesystem::is_empty(Folder));
  std::filesystem::remove_all(Folder);
}

TEST(TransferAbort, CtrlCStopsMirelonRunWaitingForATransfer) {
  TSilentListener Silent;
  for (const TBusyProgram& Busy : StalledTransfers(Silent.Port())) {
    TMirelonProcess P({"run", WriteTempFile(Busy.Name + ".mir", Busy.Program)});
    ASSERT_TRUE(P.WaitForOutput("prêt", 30s)) << Busy.Name;
    std::this_thread::sleep_for(30ms);
    Clock::time_point Asked = Clock::now();
    P.Signal(SIGINT);
    TProcessResult R = P.Wait(10s);
    EXPECT_EQ(R.ExitCode, 130) << Busy.Name << ": " << R.Err;
    EXPECT_LT(MsSince(Asked), 1000) << Busy.Name;
  }
}
