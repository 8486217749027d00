// The command "mirelon analyze FILE", run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mirelon {
namespace {

// Runs "mirelon analyze PATH"; gives the exit code and fills Out with stdout.
int RunMirelonAnalyze(const std::string& path, std::string& out) {
  const std::string cmd = std::string("'") + MIRELON_BINARY + "' analyze '" + path + "' 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class AnalyzeCommand : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / ("mirelon_analyze_" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    FFiles.push_back(path);
    return path.string();
  }
  void TearDown() override {
    for (const auto& f : FFiles) std::filesystem::remove(f);
  }
  std::vector<std::filesystem::path> FFiles;
};

TEST_F(AnalyzeCommand, CleanProgramWithBomExitsZero) {
  std::string out;
  EXPECT_EQ(RunMirelonAnalyze(Write("ok.mrl", "\xEF\xBB\xBF" "affiche 'été'\n"), out), 0);
  EXPECT_EQ(out, "{\"diagnostics\":[],\"ok\":true}\n");
}

TEST_F(AnalyzeCommand, ErrorsExitOneAndInvalidBytesAreReplaced) {
  std::string out;
  EXPECT_EQ(RunMirelonAnalyze(Write("bad.mrl", "x = \xFF"), out), 1);
  EXPECT_EQ(out, "{\"diagnostics\":[{\"line\":1,\"msg\":\"Instruction inconnue apr\\u00E8s \\\"x\\\" (vaut \\/ est \\/ "
                 "ajoute \\u2026)\",\"fatal\":true},{\"line\":1,\"msg\":\"Instruction inattendue : \\\"=\\\"\","
                 "\"fatal\":true},{\"line\":1,\"msg\":\"Instruction inattendue : \\\"\\uFFFD\\\"\",\"fatal\":true}],"
                 "\"ok\":false}\n");
}

TEST_F(AnalyzeCommand, WarningsOnlyExitZero) {
  std::string out;
  EXPECT_EQ(RunMirelonAnalyze(Write("warn.mrl", "essayer\nfin essayer\n"), out), 0);
}

TEST_F(AnalyzeCommand, LexerErrorExitsOne) {
  std::string out;
  EXPECT_EQ(RunMirelonAnalyze(Write("lex.mrl", "affiche U+110000"), out), 1);
  EXPECT_EQ(out, "{\"error\":\"Ligne 1: U+110000 : code Unicode hors limites (max U+10FFFF)\"}\n");
}

TEST_F(AnalyzeCommand, MissingFileOrFolderExitsTwoWithNothingOnStdout) {
  std::string out;
  EXPECT_EQ(RunMirelonAnalyze("/nonexistent/mirelon.mrl", out), 2);
  EXPECT_EQ(RunMirelonAnalyze(std::filesystem::temp_directory_path().string(), out), 2);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace mirelon
