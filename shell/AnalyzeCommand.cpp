#include "shell/AnalyzeCommand.h"

#include <iostream>

#include "analyzer/AnalysisJson.h"
#include "core/Text.h"
#include "shell/WholeFile.h"

namespace mirelon {

int RunAnalyzeCommand(const std::string& path) {
  std::string error;
  const auto bytes = ReadWholeFile(path, error);
  if (!bytes) {
    std::cerr << "Impossible de lire le fichier \"" << path << "\" : " << error << "\n";
    return 2;
  }
  bool failed = false;
  std::cout << AnalysisJson(Utf8ToUtf16(StripBom(*bytes)), failed) << "\n" << std::flush;
  return failed ? 1 : 0;
}

}  // namespace mirelon
