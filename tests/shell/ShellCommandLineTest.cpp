// The command line itself: commands, options and usage errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "MirelonProcess.h"

using namespace mirelon::test;

TEST(ShellCommandLine, VersionAndHelp) {
  TProcessResult V = RunMirelon({"--version"});
  EXPECT_EQ(V.ExitCode, 0);
  EXPECT_EQ(V.Out, "mirelon 1.0.0\n");

  TProcessResult H = RunMirelon({"--help"});
  EXPECT_EQ(H.ExitCode, 0);
  EXPECT_NE(H.Out.find("mirelon run FICHIER [--seed=N]"), std::string::npos);
  EXPECT_NE(H.Out.find("mirelon analyze FICHIER"), std::string::npos);
}

// Without a command, with "window" or with options alone, mirelon opens its
// window; with no display to open it on, one line says so and names
// "mirelon serve". An unknown command stays a usage error.
TEST(ShellCommandLine, WindowWithoutADisplayNamesServe) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  for (const std::vector<std::string>& Args :
       {std::vector<std::string>{}, {"window"}, {"--start"}, {"--verbose", "extra"}, {"-x"}}) {
    TProcessResult R = RunMirelon(Args);
    EXPECT_EQ(R.ExitCode, 2) << R.Err;
    EXPECT_EQ(R.Out, "");
    EXPECT_EQ(std::count(R.Err.begin(), R.Err.end(), '\n'), 1) << R.Err;
    EXPECT_NE(R.Err.find("\"mirelon serve\" démarre le serveur seul"), std::string::npos) << R.Err;
  }
  TProcessResult R = RunMirelon({"lancer"});
  EXPECT_EQ(R.ExitCode, 2);
  EXPECT_EQ(R.Out, "");
  EXPECT_NE(R.Err.find("lancer"), std::string::npos) << R.Err;
}

TEST(ShellCommandLine, RunUsageErrors) {
  std::string Program = WriteTempFile("ok.mir", "affiche 1\n");
  std::string Folder = Program.substr(0, Program.rfind('/'));
  struct TCase {
    std::vector<std::string> Args;
    std::string Named;  // what the message must name
  } Cases[] = {
      {{"run"}, "fichier manquant"},
      {{"run", Folder + "/absent.mir"}, "absent.mir"},
      {{"run", Folder}, Folder},
      {{"run", Program, Program}, "en trop"},
      {{"run", Program, "--seed=douze"}, "douze"},
      {{"run", Program, "--seed="}, "graine invalide"},
      {{"run", Program, "--seed=99999999999999999999"}, "graine invalide"},
      {{"run", Program, "--graine=3"}, "--graine=3"},
  };
  for (const TCase& C : Cases) {
    TProcessResult R = RunMirelon(C.Args);
    EXPECT_EQ(R.ExitCode, 2) << C.Named;
    EXPECT_EQ(R.Out, "") << C.Named;
    EXPECT_NE(R.Err.find(C.Named), std::string::npos) << R.Err;
  }
}

TEST(ShellCommandLine, AnalyzeWantsExactlyOneFile) {
  EXPECT_EQ(RunMirelon({"analyze"}).ExitCode, 2);
  EXPECT_EQ(RunMirelon({"analyze", "a.mir", "b.mir"}).ExitCode, 2);
}
