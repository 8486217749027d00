// The buttons over a real server on a free loopback port, and the command
// line as the window reads it.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QRegularExpression>

#include "WindowFixture.h"

namespace mirelon::test {
namespace {

using WindowButtons = WindowTest;

const char* const kBrowserOpened = "# Navigateur ouvert avec authentification automatique.";

std::string PortArg(int Port) { return "--port=" + std::to_string(Port); }

// Listens on Port for as long as it lives, so the server cannot start there.
class TPortTaken {
 public:
  explicit TPortTaken(int Port) : FSocket(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_port = htons(static_cast<uint16_t>(Port));
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(FSocket, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
    listen(FSocket, 1);
  }
  ~TPortTaken() { close(FSocket); }

 private:
  int FSocket;
};

TEST_F(WindowButtons, ServerButtonStartsAndStopsWithItsCaption) {
  Open({PortArg(FreePort())});
  QPushButton* Server = Button("ActServer");
  Server->click();
  EXPECT_TRUE(App.ServerActive());
  EXPECT_EQ(Server->text(), QString::fromUtf8("Arrêter le serveur"));
  Server->click();
  EXPECT_FALSE(App.ServerActive());
  EXPECT_EQ(Server->text(), QString::fromUtf8("Démarrer le serveur"));
}

TEST_F(WindowButtons, AFailedStartKeepsTheStartCaptionAndOpensNothing) {
  const int Port = FreePort();
  TPortTaken Taken(Port);
  Open({PortArg(Port)});
  Button("ActServer")->click();
  EXPECT_FALSE(App.ServerActive());
  EXPECT_EQ(Button("ActServer")->text(), QString::fromUtf8("Démarrer le serveur"));
  Button("ActOpenWeb")->click();
  PumpPending();
  EXPECT_TRUE(Opened.empty());
  EXPECT_TRUE(LogHas("# Impossible de démarrer le serveur."));
  EXPECT_FALSE(LogHas(kBrowserOpened));
}

TEST_F(WindowButtons, GoMirelonStartsTheServerAndOpensTheAuthAddress) {
  const int Port = FreePort();
  Open({PortArg(Port)});
  Button("ActOpenWeb")->click();
  PumpPending();
  ASSERT_EQ(Opened.size(), 1u);
  const QRegularExpression Address("^http://localhost:" + QString::number(Port) + "/auth\\?token=[0-9a-f]{64}$");
  EXPECT_TRUE(Address.match(QString::fromStdString(Opened[0])).hasMatch()) << Opened[0];
  EXPECT_EQ(Button("ActServer")->text(), QString::fromUtf8("Arrêter le serveur"));
  EXPECT_TRUE(LogHas(kBrowserOpened));
  // The token reaches the browser only, never the log.
  const std::string Token = Opened[0].substr(Opened[0].size() - 64);
  for (const QString& Line : Lines()) EXPECT_FALSE(Line.contains(QString::fromStdString(Token)));
}

TEST_F(WindowButtons, ABrowserThatCannotStartIsReportedNotCalledOpened) {
  BrowserStarts = false;
  Open({PortArg(FreePort())});
  Button("ActOpenWeb")->click();
  Button("ActOpenWebHelp")->click();
  PumpPending();
  ASSERT_EQ(Opened.size(), 2u);
  EXPECT_EQ(Opened[1], App.HelpAddress());
  EXPECT_FALSE(LogHas(kBrowserOpened));
  EXPECT_EQ(Lines().filter("# Impossible d'ouvrir le navigateur.").size(), 2);
}

// "--start" in any case: nothing happens until the event loop runs, then the
// automatic start's line, the server's start and the browser, in that order.
TEST_F(WindowButtons, StartInCapitalsOpensTheBrowserOnceTheLoopRuns) {
  Window = std::make_unique<TFMirelon>(App, std::vector<std::string>{"--START", PortArg(FreePort()), "--offline"},
                                       [this](const std::string& Url) {
                                         Opened.push_back(Url);
                                         return true;
                                       });
  EXPECT_TRUE(Opened.empty());
  EXPECT_FALSE(App.ServerActive());
  ASSERT_TRUE(PumpUntil([&] { return LogHas(kBrowserOpened); }));
  EXPECT_EQ(Opened.size(), 1u);
  const QStringList Shown = Lines();
  const auto Auto = Shown.indexOf("# Démarrage automatique (--start)");
  const auto Started = Shown.indexOf(QRegularExpression("^# Serveur démarré sur http://localhost:\\d+$"));
  ASSERT_GE(Auto, 0);
  EXPECT_GT(Started, Auto);
  EXPECT_GT(Shown.indexOf(kBrowserOpened), Started);
  EXPECT_GT(Auto, Shown.indexOf(QRegularExpression("^# Stockage des programmes : ")));
}

// "Quitter" closes the window as its close box does: the server stops first.
TEST_F(WindowButtons, QuitStopsTheServerThenClosesTheWindow) {
  Open({PortArg(FreePort())});
  Button("ActServer")->click();
  Button("ActClose")->click();
  PumpPending();
  EXPECT_FALSE(App.ServerActive());
  EXPECT_FALSE(Window->isVisible());
  const QStringList Shown = Lines();
  const auto Closing = Shown.indexOf("# Fermeture en cours...");
  ASSERT_GE(Closing, 0);
  EXPECT_EQ(Shown.indexOf(QString::fromUtf8("# Serveur arrêté."), Closing), Closing + 1);
}

struct TArgsCase {
  std::vector<std::string> Args;
  const char* Line;  // a line the log must show
  int Port, Stopping;
};

TEST_F(WindowButtons, CommandLineCases) {
  const TArgsCase Cases[] = {
      {{"--port=9123"}, "# Port personnalisé : 9123", 9123, 2},
      {{"--port=0"}, "# Port invalide, utilisation du port par défaut : 8080", 8080, 2},
      {{"--port=80"}, "# Port 80 refusé (réservé ou sensible), utilisation du port par défaut : 8080", 8080, 2},
      {{"--Port=9123", "--stopping=5"}, "# Timeout d'exécution : 5 minutes.", 8080, 5},
      {{"--stopping=1"}, "# Timeout --stopping=1 invalide (2–10 min), valeur par défaut : 2 min", 8080, 2},
      {{"--stopping=11"}, "# Timeout --stopping=11 invalide (2–10 min), valeur par défaut : 2 min", 8080, 2},
  };
  for (const TArgsCase& Case : Cases) {
    const std::filesystem::path Folder = Root / std::to_string(&Case - Cases);
    TApplication Other({Folder / "Documents", Folder / "AppData"}, "");
    std::vector<std::string> Args = Case.Args;
    Args.push_back("--offline");
    TFMirelon Shown(Other, Args, [](const std::string&) { return true; });
    PumpPending();
    EXPECT_TRUE(Shown.Memo()->Lines().contains(QString::fromUtf8(Case.Line))) << Case.Line;
    EXPECT_EQ(Other.Port(), Case.Port) << Case.Line;
    EXPECT_EQ(Other.StoppingMinutes(), Case.Stopping) << Case.Line;
    EXPECT_FALSE(Other.AutoStart());
  }
}

}  // namespace
}  // namespace mirelon::test
