// The application object as the window drives it: start-up lines, the
// server's start and stop with their lines, and the buttons' actions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ServerTestKit.h"
#include "server/Application.h"

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

class Application : public ::testing::Test {
 protected:
  fs::path Root = fs::temp_directory_path() / ("mirelon-app-" + std::to_string(getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TAppFolders Folders{Root / "Documents", Root / "config"};
  int Port = FreePort();
  std::unique_ptr<TApplication> App;

  void SetUp() override { fs::create_directories(Root); }
  void TearDown() override {
    App.reset();
    fs::remove_all(Root);
  }
  void Create(std::vector<std::string> Args = {}) {
    App = std::make_unique<TApplication>(Folders, "");
    App->Log().ShowInWindow([] {});
    Args.push_back("--port=" + std::to_string(Port));
    App->Create(Args);
  }
  std::vector<std::string> Lines() { return App->Log().TakeLines(); }
  std::string Address() const { return "http://localhost:" + std::to_string(Port); }
};

TEST_F(Application, StartUpLinesComeInOrder) {
  Create({"--stopping=3"});
  const std::string File = (Folders.Documents / "Mirelon" / "Mirelon.json").string();
  std::vector<std::string> Expected = OfflineStartUpLines(Port, File);
  Expected.insert(Expected.begin(), "# Timeout d'exécution : 3 minutes.");
  EXPECT_EQ(Lines(), Expected);
  EXPECT_TRUE(App->ProjectsReady());
  EXPECT_FALSE(App->ServerActive());
  EXPECT_FALSE(App->AutoStart());
  EXPECT_EQ(App->StoppingMinutes(), 3);
  EXPECT_EQ(App->WorkbenchAddress(), "");
}

TEST_F(Application, StartAndStopWithTheirLinesAndANewTokenEachTime) {
  Create({"--START"});
  EXPECT_TRUE(App->AutoStart());
  Lines();
  EXPECT_TRUE(App->ToggleServer());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"# Serveur démarré sur " + Address(), "# Session token généré",
                                               "# Clique sur « Go ! Mirelon » pour accéder à l'interface !"}));
  const std::string First = App->WorkbenchAddress();
  ASSERT_EQ(First.rfind(Address() + "/auth?token=", 0), 0u);
  EXPECT_EQ(First.size(), Address().size() + 12 + 64);
  httplib::Client Client("127.0.0.1", Port);
  EXPECT_EQ(Client.Get(First.substr(Address().size()))->status, 302);
  Lines();
  EXPECT_FALSE(App->ToggleServer());
  EXPECT_EQ(Lines(), std::vector<std::string>{"# Serveur arrêté."});
  EXPECT_FALSE(Client.Get("/api/ping"));
  EXPECT_TRUE(App->StartServer());
  EXPECT_NE(App->WorkbenchAddress(), First);
  EXPECT_EQ(Client.Get(First.substr(Address().size()))->status, 403);
}

// The real routes behind the pipeline: one request of each area.
TEST_F(Application, TheRoutesAreWiredToThePipeline) {
  Create({"--stopping=4"});
  ASSERT_TRUE(App->StartServer());
  const std::string Address = App->WorkbenchAddress();
  const httplib::Headers Cookie = {{"Cookie", "mirelon_session=" + Address.substr(Address.find("token=") + 6)}};
  httplib::Client Client("127.0.0.1", Port);
  auto Run = Client.Post("/api/execute", Cookie, R"({"code":"affiche 1"})", "application/json");
  ASSERT_TRUE(Run);
  EXPECT_EQ(Run->body, R"({"done":true,"output":"1\r\n"})");
  EXPECT_EQ(Client.Post("/api/analyze", Cookie, R"({"code":"affiche 1"})", "application/json")->body,
            R"({"diagnostics":[],"ok":true})");
  EXPECT_EQ(Client.Get("/api/ping?instanceId=a", Cookie)->body, R"({"ok":true,"stoppingMinutes":4})");
  EXPECT_EQ(Client.Get("/api/options", Cookie)->body, "{}");
  EXPECT_EQ(Client.Get("/api/projects/list", Cookie)->status, 200);
  EXPECT_TRUE(fs::exists(Folders.Documents / "Mirelon" / "Mirelon.json"));
}

TEST_F(Application, AStartWithoutStorageIsRefusedUntilItCanBePrepared) {
  std::ofstream(Folders.Documents) << "a file where the documents folder should be";
  Create();
  const std::string File = (Folders.Documents / "Mirelon" / "Mirelon.json").string();
  EXPECT_EQ(Lines().back(), "# ERREUR : impossible de créer le stockage des programmes (" + File + ").");
  EXPECT_FALSE(App->StartServer());
  // The storage may say why first; the refusal ends with these two lines.
  const std::vector<std::string> Refusal = Lines();
  ASSERT_GE(Refusal.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(Refusal.end() - 2, Refusal.end()),
            (std::vector<std::string>{"# Démarrage annulé : stockage des programmes indisponible.",
                                      "# Vérifie l'accès à : " + File}));
  EXPECT_EQ(App->PrepareWorkbenchAddress(), "");
  EXPECT_EQ(Lines().back(), "# Impossible de démarrer le serveur.");
  // The next start prepares the storage again.
  fs::remove(Folders.Documents);
  EXPECT_NE(App->PrepareWorkbenchAddress(), "");
  EXPECT_TRUE(App->ProjectsReady());
}

TEST_F(Application, ATakenPortLeavesTheServerInactive) {
  TTestServer Taker;
  Port = Taker.Port();
  Create();
  Lines();
  EXPECT_FALSE(App->ToggleServer());
  EXPECT_EQ(Lines(), std::vector<std::string>{"# Erreur démarrage serveur : le port " + std::to_string(Port) +
                                              " est déjà utilisé"});
  EXPECT_FALSE(App->ServerActive());
}

TEST_F(Application, TheButtonsLines) {
  Create();
  Lines();
  App->LogAbout();
  const std::vector<std::string> About = Lines();
  ASSERT_EQ(About.size(), 6u);
  EXPECT_EQ(About[0], "# Mirelon : v" MIRELON_VERSION_TEXT);
  EXPECT_EQ(About[1].rfind("# Développé par : ", 0), 0u);
  EXPECT_EQ(About[2].rfind("# Site web : https://", 0), 0u);
  EXPECT_EQ(About[3].rfind("# Contact E-mail : ", 0), 0u);
  EXPECT_EQ(About[4], "# Philosophie du projet :");
  EXPECT_EQ(About[5], "# Apprendre à coder, c'est avant tout apprendre à penser.");
  App->LogWelcomeAgain();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"# Bienvenue sur Mirelon, v" MIRELON_VERSION_TEXT,
                                               "# Le code, en toute simplicité.",
                                               "# Apprends, écris et exécute ton code simplement.",
                                               "# Clique sur « Go ! Mirelon » pour accéder à l'interface !"}));
  App->Quit();
  EXPECT_TRUE(Lines().empty());
  App->StartServer();
  Lines();
  App->Quit();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"# Fermeture en cours...", "# Serveur arrêté."}));
}

}  // namespace
}  // namespace mirelon::test
