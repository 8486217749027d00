// Analysis time of a 1 MB program made of realistic statements.
#include <benchmark/benchmark.h>

#include "analyzer/Analyzer.h"

namespace {

std::u16string GenerateProgram(size_t bytes) {
  static const char16_t kChunk[] =
      u"fonction carre(x)\n  retourne x * x\nfin fonction\n"
      u"classe Point :\n  x, y est un nombre\nfin classe\n"
      u"t est un tableau\n"
      u"pour i de 1 à 10 pas 1\n"
      u"  si i mod 2 = 0 alors\n    t ajoute carre(i)\n  sinon si i > 7 alors\n    continue\n"
      u"  sinon\n    affiche 'impair : ' + i\n  fin si\n"
      u"fin pour\n"
      u"selon longueur(t)\n  cas 1, 2 :\n    affiche 'peu'\n  sinon selon :\n    affiche [t[0], t[1]]\n"
      u"fin selon\n"
      u"demande 'Ton nom ?' dans nom // la question\n"
      u"essayer\n  affiche 10 / longueur(nom)\nattraper e\n  couleur('#FF0000', e)\nfin essayer\n";
  std::u16string s;
  while (s.size() < bytes) s += kChunk;
  return s;
}

void BM_AnalyzeOneMegabyte(benchmark::State& state) {
  const std::u16string program = GenerateProgram(1 << 20);
  mirelon::TMirelonAnalyzer analyzer;
  std::vector<mirelon::TMirelonDiagnostic> diags;
  for (auto _ : state) {
    benchmark::DoNotOptimize(analyzer.Analyze(program, diags));
  }
  if (!diags.empty()) state.SkipWithError("the generated program should give no diagnostic");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * program.size());
}
BENCHMARK(BM_AnalyzeOneMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
