// A run busy inside a slow builtin ends as soon as its abort is asked for.
// The bound is generous (a loaded 2-core machine): the latencies themselves
// are measured by the abort benchmark.
#include <gtest/gtest.h>

#include "BusyPrograms.h"

using namespace mirelon;
using namespace mirelon::test;

TEST(SessionAbortBusy, EverySlowBuiltinStopsAtOnce) {
  for (const TBusyProgram& Busy : BusyPrograms()) {
    TAbortLatency Latency = MeasureAbort(Busy.Program);
    EXPECT_FALSE(Latency.EndedBefore) << Busy.Name << " ended before its abort, in state " << int(Latency.State);
    if (Latency.EndedBefore) continue;
    EXPECT_EQ(Latency.State, ssAborted) << Busy.Name;
    EXPECT_LT(Latency.TurnEndMs, 1000) << Busy.Name;
  }
}
