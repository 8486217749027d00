// Lexing a 1 MB program, and evaluating a long arithmetic expression in a loop.
#include <benchmark/benchmark.h>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"

namespace {

using namespace mirelon;

std::u16string OneMegabyteProgram() {
  std::u16string line = u"si âge est supérieur ou égal à 18 alors affiche 'Majeur' + nom // adulte\n";
  std::u16string src;
  while (src.size() < 1000000) src += line;
  return src;
}

void BM_Lex1MB(benchmark::State& state) {
  std::u16string src = OneMegabyteProgram();
  for (auto _ : state) benchmark::DoNotOptimize(TMirelonLexer(src).Tokenize());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * src.size() * 2));
}
BENCHMARK(BM_Lex1MB)->Unit(benchmark::kMillisecond);

void BM_ArithmeticLoop(benchmark::State& state) {
  const std::u16string program =
      u"s vaut 0\n"
      u"pour i de 1 à 100000\n"
      u"  s vaut (s + i * 3 - (i mod 7) * 2 + 1) mod 1000003\n"
      u"fin pour\n";
  for (auto _ : state) {
    TMirelon M{StandardBuiltins()};
    M.OnOutput = [](const std::u16string&) {};
    M.Execute(program);
  }
}
BENCHMARK(BM_ArithmeticLoop)->Unit(benchmark::kMillisecond);

}  // namespace
