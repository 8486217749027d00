// Correct programs written as pupils write them give no diagnostic.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "AnalyzerTestUtil.h"

namespace mirelon::test {
namespace {

TEST(AnalyzerSamples, CorrectProgramsGiveNoDiagnostic) {
  const std::filesystem::path dir = std::filesystem::path(MIRELON_SOURCE_DIR) / "tests/analyzer/samples";
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(Findings(text.str()), TFindings{}) << entry.path();
    ++count;
  }
  EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace mirelon::test
