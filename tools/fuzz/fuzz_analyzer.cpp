// Analyses any program: the walk must end on every input, every finding
// carrying a message.
#include <cstdlib>

#include "analyzer/Analyzer.h"
#include "tools/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mirelon::fuzz::Guarded([&] {
    mirelon::TMirelonAnalyzer analyzer;
    std::vector<mirelon::TMirelonDiagnostic> found;
    analyzer.Analyze(mirelon::fuzz::InputText(data, size), found);
    for (const auto& d : found)
      if (d.Msg.empty()) std::abort();
  });
  return 0;
}
