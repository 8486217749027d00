// The command line of the program and the port rules, with their log lines.
#include <gtest/gtest.h>

#include "log/ConsoleLog.h"
#include "server/CommandLine.h"

namespace mirelon {
namespace {

struct TRead {
  TCommandLine Line;
  std::vector<std::string> Log;
};

TRead Read(const std::vector<std::string>& Args) {
  TConsoleLog Log;
  Log.ShowInWindow([] {});
  TRead Result;
  Result.Line = ReadCommandLine(Args, Log);
  Result.Log = Log.TakeLines();
  return Result;
}

TEST(PortRules, TheAcceptedRangeAndTheRefusedPorts) {
  EXPECT_TRUE(IsPortAllowed(1024));
  EXPECT_TRUE(IsPortAllowed(65535));
  EXPECT_TRUE(IsPortAllowed(8080));
  EXPECT_FALSE(IsPortAllowed(1023));
  EXPECT_FALSE(IsPortAllowed(65536));
  EXPECT_FALSE(IsPortAllowed(0));
  for (int Port : {1433, 1434, 1521, 3306, 3389, 5432, 5900, 6379, 27017}) EXPECT_FALSE(IsPortAllowed(Port)) << Port;
  EXPECT_TRUE(IsPortAllowed(1435));
}

TEST(PortRules, EachChoiceLogsItsLine) {
  struct TCase {
    std::string Arg;
    int Port;
    std::vector<std::string> Log;
  };
  const std::string Default = "utilisation du port par défaut : 8080";
  for (const TCase& Case : std::vector<TCase>{
           {"--port=9000", 9000, {"# Port personnalisé : 9000"}},
           {"--port=1024", 1024, {"# Port personnalisé : 1024"}},
           {"--port=+65535", 65535, {"# Port personnalisé : 65535"}},
           {"--port=1433", 8080, {"# Port 1433 refusé (réservé ou sensible), " + Default}},
           {"--port=80", 8080, {"# Port 80 refusé (réservé ou sensible), " + Default}},
           {"--port=70000", 8080, {"# Port 70000 refusé (réservé ou sensible), " + Default}},
           {"--port=abc", 8080, {"# Port invalide, " + Default}},
           {"--port=-5", 8080, {"# Port invalide, " + Default}},
           {"--port=0", 8080, {"# Port invalide, " + Default}},
           {"--port=99999999999", 8080, {"# Port invalide, " + Default}},
           {"--port=80 80", 8080, {"# Port invalide, " + Default}},
           {"--port=", 8080, {}},
           {"--Port=9000", 8080, {}},
       }) {
    const TRead Result = Read({Case.Arg});
    EXPECT_EQ(Result.Line.Port, Case.Port) << Case.Arg;
    EXPECT_EQ(Result.Log, Case.Log) << Case.Arg;
  }
}

TEST(CommandLine, TheLastPortWinsAndIsLoggedAfterTheTimeLimit) {
  const TRead Result = Read({"--port=9000", "--stopping=5", "--port=9001"});
  EXPECT_EQ(Result.Line.Port, 9001);
  EXPECT_EQ(Result.Line.StoppingMinutes, 5);
  EXPECT_EQ(Result.Log,
            (std::vector<std::string>{"# Timeout d'exécution : 5 minutes.", "# Port personnalisé : 9001"}));
}

TEST(CommandLine, ATimeLimitOutside2To10IsRefused) {
  for (const std::string Value : {"1", "11", "abc"}) {
    const TRead Result = Read({"--stopping=" + Value});
    EXPECT_EQ(Result.Line.StoppingMinutes, 2) << Value;
    ASSERT_EQ(Result.Log.size(), 1u);
    EXPECT_EQ(Result.Log[0], "# Timeout --stopping=" + std::string(Value == "abc" ? "0" : Value) +
                                 " invalide (2–10 min), valeur par défaut : 2 min");
  }
  EXPECT_EQ(Read({"--stopping=10"}).Line.StoppingMinutes, 10);
  EXPECT_EQ(Read({"--stopping=2"}).Line.StoppingMinutes, 2);
}

TEST(CommandLine, FlagsAndTheService) {
  EXPECT_TRUE(Read({"--START"}).Line.AutoStart);
  EXPECT_FALSE(Read({"--started"}).Line.AutoStart);
  EXPECT_TRUE(Read({"--Offline"}).Line.Offline);
  EXPECT_EQ(Read({"--service=https://example.test:8443"}).Line.Service, "https://example.test:8443");
  EXPECT_EQ(Read({"--service="}).Line.Service, "");
  const TRead Plain = Read({"file.mir", "-x"});
  EXPECT_FALSE(Plain.Line.AutoStart || Plain.Line.Offline || Plain.Line.Service.has_value());
  EXPECT_TRUE(Plain.Log.empty());
}

}  // namespace
}  // namespace mirelon
