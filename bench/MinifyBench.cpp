// Minifying a 1 MB script and a 1 MB style sheet: resource bytes in, bytes
// out, so decoding and encoding are counted with the pass.
#include <benchmark/benchmark.h>

#include <string>

#include "minify/Minify.h"

namespace {

// Code like the workbench's bundles: comments, strings, templates with
// expressions, regular expressions, accented names and deep indentation.
std::string GenerateScript(size_t bytes) {
  static const char kChunk[] =
      "/**\n * Renders one console entry.\n * @param {string} texte\n */\n"
      "export function afficheEntrée(texte, options = {}) {\n"
      "    // the markers of the output stream\n"
      "    const motif = /^__(SVG|ANIM|DEBUG|COLOR|HTML)__/;\n"
      "    if (motif.test(texte)) {\n"
      "        return rendu[texte.slice(2, texte.indexOf('__', 2))](texte, options);\n"
      "    }\n"
      "    const ligne = document.createElement(\"div\");\n"
      "    ligne.className = `entrée ${ options.classe ?? 'normale' } ligne-${ compteur++ }`;\n"
      "    ligne.textContent = texte.replace(/\\u0002([^\\u0003]*)\\u0003/g, (_, t) => t);\n"
      "    total = total + ligne.textContent.length / 2 - -1;\n"
      "    return ligne;\n"
      "}\n\n";
  std::string s;
  while (s.size() < bytes) s += kChunk;
  return s;
}

std::string GenerateStyleSheet(size_t bytes) {
  static const char kChunk[] =
      "/* The console panel */\n"
      ".console > .entrée:hover ,\n.console .ligne-impaire {\n"
      "    margin : 0 auto ;\n    padding : calc( 1em + 2px ) 4px ;\n"
      "    background : #fafafa URL( \"motif.svg\" ) no-repeat ;\n"
      "    color : rgb( 40 , 40 , 40 ) !important ;\n}\n\n";
  std::string s;
  while (s.size() < bytes) s += kChunk;
  return s;
}

void Minify(benchmark::State& state, std::string (*minify)(std::string_view), const std::string& input) {
  size_t outputSize = 0;
  for (auto _ : state) {
    const std::string output = minify(input);
    outputSize = output.size();
    benchmark::DoNotOptimize(output.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * input.size());
  state.counters["ratio"] = static_cast<double>(outputSize) / input.size();
}

void BM_MinifyJsOneMegabyte(benchmark::State& state) {
  Minify(state, mirelon::MinifyJsResource, GenerateScript(1 << 20));
}
BENCHMARK(BM_MinifyJsOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_MinifyCssOneMegabyte(benchmark::State& state) {
  Minify(state, mirelon::MinifyCssResource, GenerateStyleSheet(1 << 20));
}
BENCHMARK(BM_MinifyCssOneMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
