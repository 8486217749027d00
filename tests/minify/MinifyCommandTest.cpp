// "mirelon minify js|css FILE" as a child process: its output, exit codes
// and messages are relied upon by scripts outside the program.
#include <gtest/gtest.h>

#include "shell/MirelonProcess.h"

namespace mirelon::test {
namespace {

TEST(MinifyCommand, WritesTheMinifiedBytesAndExitsZero) {
  const std::string script = WriteTempFile("app.js", "\xEF\xBB\xBF// entête\r\nconst  é = `a  ${ b }` ;\r\n");
  TProcessResult js = RunMirelon({"minify", "js", script});
  EXPECT_EQ(js.ExitCode, 0) << js.Err;
  EXPECT_EQ(js.Out, "const é=`a  ${b}`;");
  EXPECT_EQ(js.Err, "");

  const std::string sheet = WriteTempFile("app.css", "a  >  b { color : red ; }\n");
  TProcessResult css = RunMirelon({"minify", "css", sheet});
  EXPECT_EQ(css.ExitCode, 0) << css.Err;
  EXPECT_EQ(css.Out, "a>b{color:red}");
}

TEST(MinifyCommand, EmptyFileGivesEmptyOutput) {
  TProcessResult r = RunMirelon({"minify", "css", WriteTempFile("empty.css", "")});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
}

TEST(MinifyCommand, UnreadableFileExitsTwoWithAMessage) {
  const std::string existing = WriteTempFile("x.js", "x");
  const std::string folder = existing.substr(0, existing.rfind('/'));
  for (const std::string& path : {folder + "/absent.js", folder}) {
    TProcessResult r = RunMirelon({"minify", "js", path});
    EXPECT_EQ(r.ExitCode, 2) << path;
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find(path), std::string::npos) << r.Err;
  }
}

TEST(MinifyCommand, UsageErrorsExitTwo) {
  const std::string file = WriteTempFile("y.js", "y");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"minify"}, {"minify", "js"}, {"minify", "html", file}, {"minify", "JS", file},
           {"minify", "js", file, file}}) {
    TProcessResult r = RunMirelon(args);
    EXPECT_EQ(r.ExitCode, 2) << args.size();
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("minify"), std::string::npos) << r.Err;
  }
}

TEST(MinifyCommand, InvalidUtf8ExitsOneWithNothingOnStdout) {
  TProcessResult r = RunMirelon({"minify", "js", WriteTempFile("bad.js", "var a = '\xC3(';")});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("UTF-8 invalide à l'octet 9"), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace mirelon::test
