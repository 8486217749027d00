#include "shell/AnalyzeCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>

#include "analyzer/AnalysisJson.h"
#include "core/Text.h"

namespace mirelon {

namespace {

// The whole file, or nothing when it cannot be opened or read (a folder included).
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  const bool failed = std::ferror(f);
  if (failed) error = std::strerror(errno);
  std::fclose(f);
  if (failed) return std::nullopt;
  return bytes;
}

}  // namespace

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
