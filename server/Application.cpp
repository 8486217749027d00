#include "server/Application.h"

#include "log/LogText.h"
#include "server/Auth.h"
#include "server/ClientRoutes.h"
#include "server/CommandLine.h"
#include "server/HttpServer.h"
#include "server/Pipeline.h"
#include "server/ProgramStorage.h"
#include "server/RunRoutes.h"
#include "server/StaticAssets.h"
#include "update/RunReport.h"
#include "update/UpdateManager.h"

namespace mirelon {
namespace {

const char* const kClickLine = "# Clique sur « Go ! Mirelon » pour accéder à l'interface !";

std::string GetVersionText() { return Utf16ToUtf8(BuildVersion().ToString()); }

std::string PathText(const std::filesystem::path& Path) { return LogText(Path.string()); }

}  // namespace

// What the command line decides: the run reporter exists only with the
// maker's service, and the run routes are given it when they are made.
struct TApplication::TImpl {
  TImpl(TApplication& App, const TAppFolders& Folders, TCommandLine Line, const std::string& Service)
      : Line(Line),
        Reporter(Service.empty() ? nullptr : std::make_unique<TRunReporter>(Service)),
        Assets([&Log = App.FLog](const std::string& Text) { Log.ELogEvent(Text); }),
        Storage(App.FLog, Folders.Documents / "Mirelon"),
        Guard(App.FLog, [this] { return this->Line.StoppingMinutes; }),
        Options(App.FLog, Folders.AppData / "Mirelon" / "Mirelon.json"),
        Runs({App.FLog, App.FCounters, [this] { return this->Line.StoppingMinutes; }, Reporter.get(),
              Storage.Folder()}),
        Pipeline(App.FLog, App.FCounters, Assets, MakeRoutes()),
        Server([this](const TRequest& Request) { return Pipeline.HandleRequest(Request); },
               THttpSettings{.EveryAnswer = SecurityHeaders()}) {}

  TRoutes MakeRoutes() {
    TRoutes Routes;
    Routes.Ping = [this](const TRequest& Request) { return Guard.HandlePing(Request); };
    Routes.Release = [this](const TRequest& Request) { return Guard.HandleRelease(Request); };
    Routes.GetOptions = [this](const TRequest& Request) { return Options.HandleGet(Request); };
    Routes.PostOptions = [this](const TRequest& Request) { return Options.HandlePost(Request); };
    Routes.Projects = [this](std::string_view Action, const TRequest& Request) {
      return Storage.HandleProjects(Action, Request);
    };
    Routes.Abort = [this](const TRequest& Request) { return Runs.HandleAbort(Request); };
    Routes.Execute = [this](const TRequest& Request) { return Runs.HandleExecute(Request); };
    Routes.Analyze = [this](const TRequest& Request) { return Runs.HandleAnalyze(Request); };
    return Routes;
  }

  TCommandLine Line;
  std::unique_ptr<TRunReporter> Reporter;
  TStaticAssets Assets;
  TProgramStorage Storage;
  TClientGuard Guard;
  TOptionsRoutes Options;
  TRunRoutes Runs;
  TPipeline Pipeline;
  THttpServer Server;  // last: stopped before the routes it calls go
  bool ProjectsReady = false;
  std::string SessionToken;
};

TApplication::TApplication(TAppFolders Folders, std::string DefaultService)
    : FFolders(std::move(Folders)), FDefaultService(std::move(DefaultService)) {}

TApplication::~TApplication() {
  FLog.SetDestroying();
  StopServer();
}

void TApplication::SetStartupCancel(std::function<bool()> Cancelled) { FStartupCancel = std::move(Cancelled); }

void TApplication::Create(const std::vector<std::string>& Args) {
  const TCommandLine Line = ReadCommandLine(Args, FLog);
  const std::string Service = Line.Offline ? "" : Line.Service.value_or(FDefaultService);
  LogWelcome();
  FLog.ELogEvent("# Recherche des mises à jour...");
  if (Service.empty()) {
    FLog.ELogEvent("# Mode hors ligne : pas de recherche de mises à jour.");
  } else {
    TUpdateManager Manager(Service);
    if (FStartupCancel) Manager.SetCancelCheck(FStartupCancel);
    FLog.ELogEvent(Utf16ToUtf8(UpdateCheckLine(Manager)));
  }
  FLog.ELogEvent(kClickLine);
  FImpl = std::make_unique<TImpl>(*this, FFolders, Line, Service);
  FImpl->ProjectsReady = FImpl->Storage.PrepareStorage();
  const std::string File = PathText(FImpl->Storage.File());
  FLog.ELogEvent(FImpl->ProjectsReady ? "# Stockage des programmes : " + File
                                      : "# ERREUR : impossible de créer le stockage des programmes (" + File + ").");
  FCounters.UpdateStatusBar();
}

void TApplication::LogWelcome() {
  FLog.ELogEvent("# Bienvenue sur Mirelon, v" + GetVersionText());
  FLog.ELogEvent("# Le code, en toute simplicité.");
  FLog.ELogEvent("# Apprends, écris et exécute ton code simplement.");
}

bool TApplication::AutoStart() const { return FImpl && FImpl->Line.AutoStart; }
bool TApplication::ProjectsReady() const { return FImpl && FImpl->ProjectsReady; }
int TApplication::Port() const { return FImpl ? FImpl->Line.Port : kDefaultPort; }
int TApplication::StoppingMinutes() const { return FImpl ? FImpl->Line.StoppingMinutes : kDefaultStoppingMinutes; }
bool TApplication::ServerActive() const { return FImpl && FImpl->Server.Active(); }

bool TApplication::ToggleServer() {
  if (ServerActive())
    StopServer();
  else
    StartServer();
  return ServerActive();
}

bool TApplication::StartServer() {
  if (!FImpl || ServerActive()) return ServerActive();
  TImpl& App = *FImpl;
  if (!App.ProjectsReady) App.ProjectsReady = App.Storage.PrepareStorage();
  if (!App.ProjectsReady) {
    FLog.ELogEvent("# Démarrage annulé : stockage des programmes indisponible.");
    FLog.ELogEvent("# Vérifie l'accès à : " + PathText(App.Storage.File()));
    return false;
  }
  try {
    App.SessionToken = NewSessionToken();
    App.Pipeline.SetSession(App.SessionToken, App.Line.Port);
    App.Guard.Reset();
    App.Server.Start(App.Line.Port);
  } catch (const std::exception& Error) {
    FLog.ELogEvent(std::string("# Erreur démarrage serveur : ") + Error.what());
    return false;
  }
  FLog.ELogEvent("# Serveur démarré sur http://localhost:" + std::to_string(App.Line.Port));
  FLog.ELogEvent("# Session token généré");
  FLog.ELogEvent(kClickLine);
  return true;
}

// A turn still computing would hold its connection up to the time limit:
// the run is aborted first, so the stop returns at once.
void TApplication::StopServer() {
  if (!ServerActive()) return;
  FImpl->Runs.AbortForServerStop();
  FImpl->Server.Stop();
  FLog.ELogEvent("# Serveur arrêté.");
}

std::string TApplication::PrepareWorkbenchAddress() {
  if (!ServerActive()) StartServer();
  if (ServerActive()) return WorkbenchAddress();
  FLog.ELogEvent("# Impossible de démarrer le serveur.");
  return "";
}

std::string TApplication::HelpAddress() const { return "https://mirelon.fr/aide"; }

void TApplication::LogWelcomeAgain() {
  LogWelcome();
  FLog.ELogEvent(kClickLine);
}

void TApplication::LogAbout() {
  FLog.ELogEvent("# Mirelon : v" + GetVersionText());
  FLog.ELogEvent("# Développé par : L'équipe Mirelon");
  FLog.ELogEvent("# Site web : https://mirelon.fr");
  FLog.ELogEvent("# Contact E-mail : contact@mirelon.fr");
  FLog.ELogEvent("# Philosophie du projet :");
  FLog.ELogEvent("# Apprendre à coder, c'est avant tout apprendre à penser.");
}

void TApplication::Quit() {
  if (!ServerActive()) return;
  FLog.ELogEvent("# Fermeture en cours...");
  StopServer();
}

std::string TApplication::WorkbenchAddress() const {
  if (!ServerActive()) return "";
  return "http://localhost:" + std::to_string(FImpl->Line.Port) + "/auth?token=" + FImpl->SessionToken;
}

}  // namespace mirelon
