// Ctrl-C on "mirelon run" while the program is busy inside a slow builtin:
// the process ends at once with 130. The bound is generous (a loaded 2-core
// machine); the abort benchmark measures the latencies.
#include <signal.h>

#include <gtest/gtest.h>

#include "MirelonProcess.h"
#include "tests/session/BusyPrograms.h"

using namespace mirelon::test;
using namespace std::chrono_literals;

TEST(ShellRunInterrupt, CtrlCStopsEverySlowBuiltinAtOnce) {
  for (const TBusyProgram& Busy : BusyPrograms()) {
    TMirelonProcess P({"run", WriteTempFile(Busy.Name + ".mir", Busy.Program)});
    ASSERT_TRUE(P.WaitForOutput("prêt", 60s)) << Busy.Name;
    std::this_thread::sleep_for(30ms);
    auto Asked = std::chrono::steady_clock::now();
    P.Signal(SIGINT);
    TProcessResult R = P.Wait(10s);
    auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Asked).count();
    EXPECT_EQ(R.ExitCode, 130) << Busy.Name << ": " << R.Err;  // not over before the signal
    EXPECT_LT(Ms, 1000) << Busy.Name;
    std::printf("%-24s %5lld ms\n", Busy.Name.c_str(), static_cast<long long>(Ms));
  }
}
