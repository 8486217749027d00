// How long a run takes to end once its abort is asked for, while it is busy
// inside a slow builtin or waits for a transfer that never comes: the
// iteration time runs from RequestAbort to the end of the run's last turn.
#include <benchmark/benchmark.h>

#include "tests/net/TestHttpsServer.h"
#include "tests/session/BusyPrograms.h"

namespace {

using namespace mirelon;

// The counters give the longest of the runs, and the mean time until the
// run's values were freed (Stop returned).
void BM_AbortLatency(benchmark::State& State, const std::string& Program) {
  double Longest = 0, Freed = 0;
  for (auto _ : State) {
    test::TAbortLatency Latency = test::MeasureAbort(Program);
    if (Latency.EndedBefore || Latency.State != ssAborted) {
      State.SkipWithError("the run ended before its abort");
      break;
    }
    Longest = std::max(Longest, Latency.TurnEndMs);
    Freed += Latency.FreedMs;
    State.SetIterationTime(Latency.TurnEndMs / 1000);
  }
  State.counters["max_ms"] = Longest;
  State.counters["freed_ms"] = Freed / static_cast<double>(std::max<int64_t>(1, State.iterations()));
}

void Register(const std::string& Name, std::function<void(benchmark::State&)> Run) {
  benchmark::RegisterBenchmark(("BM_AbortLatency/" + Name).c_str(), std::move(Run))
      ->UseManualTime()
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
}

const bool kRegistered = [] {
  for (const test::TBusyProgram& Busy : test::BusyPrograms())
    Register(Busy.Name, [Program = Busy.Program](benchmark::State& State) { BM_AbortLatency(State, Program); });
  // Transfers to a listener that accepts the connection and never answers.
  std::vector<test::TBusyProgram> Transfers = test::StalledTransfers(0);
  for (size_t I = 0; I < Transfers.size(); ++I)
    Register(Transfers[I].Name, [I](benchmark::State& State) {
      test::TSilentListener Silent;
      BM_AbortLatency(State, test::StalledTransfers(Silent.Port())[I].Program);
    });
  return true;
}();

}  // namespace
