// Drawing programs at the canvas limits: a full canvas of pixels shown once,
// and an animation of many snapshots. Peak memory: run one benchmark under
// /usr/bin/time -v (see bench/README.md).
#include <benchmark/benchmark.h>

#include <string>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"
#include "core/Text.h"

namespace {

using namespace mirelon;

size_t RunDrawing(const std::string& source) {
  TMirelon M{StandardBuiltins()};
  size_t written = 0;
  M.OnOutput = [&](const std::u16string& s) { written += s.size(); };
  M.Execute(Utf8ToUtf16(source));
  return written;
}

// 200000 pixels, the most a canvas takes, then one "affiche".
void BM_Pixels200000(benchmark::State& state) {
  const std::string program =
      "t est une toile\ndimension(t, 1000, 1000)\n"
      "pour i de 0 à 399\n  pour j de 0 à 499\n    pixel(t, i, j, rgb(i mod 256, j mod 256, 0))\n"
      "  fin pour\nfin pour\naffiche t\n";
  for (auto _ : state) state.counters["chars"] = static_cast<double>(RunDrawing(program));
}
BENCHMARK(BM_Pixels200000)->Unit(benchmark::kMillisecond);

// 1000 snapshots of a canvas with a grid of 72 lines, a moving ball and a
// label, played once.
void BM_Animation1000(benchmark::State& state) {
  const std::string program =
      "t est une toile\ndimension(t, 400, 300)\nimages est un tableau\n"
      "pour k de 0 à 999\n  effacer(t)\n  grille(t, 10)\n"
      "  cercle(t, k mod 400, 150, 20, '#E74C3C')\n  label(t, 10, 20, 'image ' + k)\n"
      "  images ajoute t\nfin pour\nanimation(images, 40)\n";
  for (auto _ : state) state.counters["chars"] = static_cast<double>(RunDrawing(program));
}
BENCHMARK(BM_Animation1000)->Unit(benchmark::kMillisecond);

}  // namespace
