// `mirelon serve` as the outside world sees it: a child process with a
// HOME of its own, its stdout, its exit code and its answers.
#include <gtest/gtest.h>

#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "ServerTestKit.h"
#include "shell/MirelonProcess.h"

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A user of its own: HOME and nothing of the desktop's folders.
struct THome {
  fs::path Path;
  explicit THome(const std::string& Name)
      : Path(fs::temp_directory_path() / ("mirelon-serve-" + std::to_string(getpid()) + "-" + Name)) {
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~THome() { fs::remove_all(Path); }
};

// Starts `mirelon serve` for Home; the environment is read at the fork.
std::unique_ptr<TMirelonProcess> Serve(const THome& Home, std::vector<std::string> Args) {
  ::setenv("HOME", Home.Path.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DOCUMENTS_DIR");
  Args.insert(Args.begin(), "serve");
  return std::make_unique<TMirelonProcess>(Args);
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Result;
  std::istringstream Stream(Text);
  for (std::string Line; std::getline(Stream, Line);) Result.push_back(Line);
  return Result;
}

TEST(ServeCommand, PrintsTheAddressOnceListeningAndStopsOnSigterm) {
  THome Home("address");
  const int Port = FreePort();
  auto Server = Serve(Home, {"--port=" + std::to_string(Port), "--offline"});
  const std::string Prefix = "Ouvre http://localhost:" + std::to_string(Port) + "/auth?token=";
  ASSERT_TRUE(Server->WaitForOutput(Prefix, 10s));
  ASSERT_TRUE(Server->WaitForOutput("\n", 1s));

  httplib::Client Client("127.0.0.1", Port);
  EXPECT_EQ(Client.Get("/auth?token=wrong")->status, 403);
  Server->Signal(SIGTERM);
  const auto Start = std::chrono::steady_clock::now();
  const TProcessResult Result = Server->Wait(5s);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, 2s);
  EXPECT_EQ(Result.ExitCode, 0);

  const std::vector<std::string> Out = Lines(Result.Out);
  const std::string Documents = (Home.Path / "Documents" / "Mirelon" / "Mirelon.json").string();
  std::vector<std::string> Expected = OfflineStartUpLines(Port, Documents);
  Expected.insert(Expected.end(), {"# Serveur démarré sur http://localhost:" + std::to_string(Port),
                                   "# Session token généré",
                                   "# Clique sur « Go ! Mirelon » pour accéder à l'interface !"});
  ASSERT_GE(Out.size(), Expected.size() + 2);
  EXPECT_EQ(std::vector<std::string>(Out.begin(), Out.begin() + Expected.size()), Expected);
  const std::string& Address = Out[Expected.size()];
  ASSERT_EQ(Address.rfind(Prefix, 0), 0u) << Address;
  const std::string Drawn = Address.substr(Prefix.size());
  EXPECT_TRUE(Drawn.size() == 64 && Drawn.find_first_not_of("0123456789abcdef") == std::string::npos) << Address;
  EXPECT_EQ(Out.back(), "# Serveur arrêté.");
  const std::string Token = Address.substr(Prefix.size());
  for (const std::string& Line : Out) EXPECT_TRUE(Line == Address || Line.find(Token) == std::string::npos) << Line;
}

TEST(ServeCommand, TheTokenOfTheAddressAuthenticatesAndSigintStopsToo) {
  THome Home("token");
  const int Port = FreePort();
  auto Server = Serve(Home, {"--port=" + std::to_string(Port), "--start"});
  const std::string Prefix = "/auth?token=";
  ASSERT_TRUE(Server->WaitForOutput(Prefix, 10s));
  ASSERT_TRUE(Server->WaitForOutput("# Clique sur « Go ! Mirelon » pour accéder à l'interface !\nOuvre", 1s));
  std::this_thread::sleep_for(100ms);
  Server->Signal(SIGINT);
  const TProcessResult Result = Server->Wait(5s);
  EXPECT_EQ(Result.ExitCode, 0);
  const size_t At = Result.Out.find(Prefix);
  ASSERT_NE(At, std::string::npos);
  EXPECT_NE(Result.Out.find("# Serveur arrêté."), std::string::npos);
  // Without --service= and with no service built in, the program is offline.
  EXPECT_NE(Result.Out.find("# Mode hors ligne : pas de recherche de mises à jour."), std::string::npos);
}

TEST(ServeCommand, TheAddressLetsTheBrowserIn) {
  THome Home("browser");
  const int Port = FreePort();
  auto Server = Serve(Home, {"--port=" + std::to_string(Port)});
  ASSERT_TRUE(Server->WaitForOutput("/auth?token=", 10s));
  std::this_thread::sleep_for(200ms);
  Server->Signal(SIGTERM);
  const TProcessResult First = Server->Wait(5s);
  const size_t At = First.Out.find("/auth?token=");
  ASSERT_NE(At, std::string::npos);
  const std::string Token = First.Out.substr(At + 12, 64);

  // A new start draws a new token: the old one no longer opens the workbench.
  auto Again = Serve(Home, {"--port=" + std::to_string(Port)});
  ASSERT_TRUE(Again->WaitForOutput("/auth?token=", 10s));
  ASSERT_TRUE(Again->WaitForOutput("\n", 1s));
  httplib::Client Client("127.0.0.1", Port);
  EXPECT_EQ(Client.Get("/auth?token=" + Token)->status, 403);
  EXPECT_EQ(Client.Get("/api/options", {{"Cookie", "mirelon_session=" + Token}})->status, 401);
  Again->Signal(SIGTERM);
  const TProcessResult Second = Again->Wait(5s);
  const size_t Now = Second.Out.find("/auth?token=");
  ASSERT_NE(Now, std::string::npos);
  EXPECT_NE(Second.Out.substr(Now + 12, 64), Token);
}

TEST(ServeCommand, SigtermDuringAnEndlessTurnAbortsItAndStillExitsAtOnce) {
  THome Home("endless");
  const int Port = FreePort();
  auto Server = Serve(Home, {"--port=" + std::to_string(Port), "--stopping=10"});
  const std::string Prefix = "/auth?token=";
  ASSERT_TRUE(Server->WaitForOutput(Prefix, 10s));
  ASSERT_TRUE(Server->WaitForOutput("\n", 1s));
  const std::string Output = Server->Output();
  const std::string Cookie = "mirelon_session=" + Output.substr(Output.find(Prefix) + Prefix.size(), 64);
  std::thread Turn([&] {
    httplib::Client Client("127.0.0.1", Port);
    Client.set_read_timeout(30, 0);
    Client.Post("/api/execute", {{"Cookie", Cookie}}, R"({"code":"pour i de 1 à 99999\n  pour j de 1 à 99999\n    x vaut j\n  fin pour\nfin pour"})", "application/json");
  });
  ASSERT_TRUE(Server->WaitForOutput("$ API : nouveau run", 10s));
  Server->Signal(SIGTERM);
  const auto Start = std::chrono::steady_clock::now();
  const TProcessResult Result = Server->Wait(10s);
  Turn.join();
  EXPECT_LT(std::chrono::steady_clock::now() - Start, 2s);
  EXPECT_EQ(Result.ExitCode, 0);
  EXPECT_NE(Result.Out.find("# Interprétation arrêtée (arrêt du serveur).\n"), std::string::npos) << Result.Out;
  EXPECT_EQ(Lines(Result.Out).back(), "# Serveur arrêté.");
}

TEST(ServeCommand, ASecondInstanceOfTheSameUserLeavesTheFirstAlone) {
  THome Home("twice"), Other("other");
  const int Port = FreePort(), OtherPort = FreePort();
  auto First = Serve(Home, {"--port=" + std::to_string(Port)});
  ASSERT_TRUE(First->WaitForOutput("Ouvre ", 10s));
  auto Second = Serve(Home, {"--port=" + std::to_string(OtherPort)});
  const TProcessResult Refused = Second->Wait(5s);
  EXPECT_EQ(Refused.ExitCode, 0);
  EXPECT_EQ(Refused.Err, "Une instance d'Mirelon est déjà en cours d'exécution.\n");
  EXPECT_EQ(Refused.Out, "");
  // Another HOME is another user: both run side by side.
  auto Beside = Serve(Other, {"--port=" + std::to_string(OtherPort)});
  EXPECT_TRUE(Beside->WaitForOutput("Ouvre ", 10s));
  httplib::Client Client("127.0.0.1", Port);
  EXPECT_EQ(Client.Get("/auth")->status, 403);
  First->Signal(SIGTERM);
  Beside->Signal(SIGTERM);
  EXPECT_EQ(First->Wait(5s).ExitCode, 0);
  EXPECT_EQ(Beside->Wait(5s).ExitCode, 0);
}

TEST(ServeCommand, ATakenPortEndsWithExitCode1) {
  THome Home("taken"), Other("taker");
  const int Port = FreePort();
  auto Taker = Serve(Other, {"--port=" + std::to_string(Port)});
  ASSERT_TRUE(Taker->WaitForOutput("Ouvre ", 10s));
  auto Server = Serve(Home, {"--port=" + std::to_string(Port)});
  const TProcessResult Result = Server->Wait(10s);
  EXPECT_EQ(Result.ExitCode, 1);
  EXPECT_NE(Result.Out.find("# Erreur démarrage serveur : le port " + std::to_string(Port) + " est déjà utilisé\n"),
            std::string::npos)
      << Result.Out;
  EXPECT_EQ(Result.Out.find("Ouvre "), std::string::npos);
  Taker->Signal(SIGTERM);
  EXPECT_EQ(Taker->Wait(5s).ExitCode, 0);
}

TEST(ServeCommand, StorageThatCannotBePreparedEndsWithExitCode1) {
  THome Home("storage");
  std::ofstream(Home.Path / "Documents") << "a file where the documents folder should be";
  auto Server = Serve(Home, {"--port=" + std::to_string(FreePort())});
  const TProcessResult Result = Server->Wait(10s);
  EXPECT_EQ(Result.ExitCode, 1);
  const std::string File = (Home.Path / "Documents" / "Mirelon" / "Mirelon.json").string();
  EXPECT_NE(Result.Out.find("# ERREUR : impossible de créer le stockage des programmes (" + File + ").\n"),
            std::string::npos)
      << Result.Out;
  EXPECT_NE(Result.Out.find("# Démarrage annulé : stockage des programmes indisponible.\n"
                            "# Vérifie l'accès à : " + File + "\n"),
            std::string::npos)
      << Result.Out;
  EXPECT_EQ(Result.Out.find("Ouvre "), std::string::npos);
}

}  // namespace
}  // namespace mirelon::test
