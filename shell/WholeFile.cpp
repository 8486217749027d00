#include "shell/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mirelon {

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

}  // namespace mirelon
