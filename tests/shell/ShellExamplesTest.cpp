// Every program of examples/ runs through the binary with its .input as
// stdin and the seed below, and prints exactly its .expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "MirelonProcess.h"

using namespace mirelon::test;
namespace fs = std::filesystem;

namespace {

const fs::path kExamples = fs::path(MIRELON_SOURCE_DIR) / "examples";
const char* const kExampleSeed = "--seed=2026";

std::string ReadIfThere(const fs::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

void CheckExample(const std::string& Name) {
  fs::path Program = kExamples / (Name + ".mir");
  ASSERT_TRUE(fs::exists(kExamples / (Name + ".expected"))) << Name;
  TProcessResult R = RunMirelon({"run", Program.string(), kExampleSeed}, ReadIfThere(kExamples / (Name + ".input")));
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, ReadIfThere(kExamples / (Name + ".expected")));
}

}  // namespace

// Each example needs a test below, so that none is left unchecked.
TEST(ShellExamples, EveryExampleIsChecked) {
  const std::set<std::string> Checked = {"bonjour", "bulletin", "dessin", "devinette",
                                         "division", "factorielle", "table"};
  std::set<std::string> Found;
  for (const auto& Entry : fs::directory_iterator(kExamples))
    if (Entry.path().extension() == ".mir") Found.insert(Entry.path().stem().string());
  EXPECT_EQ(Found, Checked);
}

TEST(ShellExamples, Bonjour) { CheckExample("bonjour"); }
TEST(ShellExamples, Bulletin) { CheckExample("bulletin"); }
TEST(ShellExamples, Division) { CheckExample("division"); }
TEST(ShellExamples, Factorielle) { CheckExample("factorielle"); }
TEST(ShellExamples, Dessin) { CheckExample("dessin"); }
TEST(ShellExamples, Devinette) { CheckExample("devinette"); }
TEST(ShellExamples, Table) { CheckExample("table"); }
