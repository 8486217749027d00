#include "ServerTestKit.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace mirelon::test {

TRoutes TTestServer::StandInRoutes() {
  const auto Named = [](std::string Name) { return [Name](const TRequest&) { return TextReply(200, Name); }; };
  TRoutes Routes;
  Routes.Ping = Named("ping");
  Routes.Release = Named("release");
  Routes.GetOptions = Named("get options");
  Routes.PostOptions = Named("post options");
  Routes.Projects = [](std::string_view Action, const TRequest&) { return TextReply(200, "projects " + std::string(Action)); };
  Routes.Abort = [](const TRequest&) -> TReply { throw std::runtime_error("la route a échoué"); };
  Routes.Execute = [](const TRequest& Request) { return TextReply(200, "execute:" + std::to_string(Request.Body.size())); };
  Routes.Analyze = Named("analyze");
  return Routes;
}

TTestServer::TTestServer(THttpSettings Settings, TRoutes Routes)
    : FAssets([this](const std::string& Line) { FLog.ELogEvent(Line); }),
      FPipeline(FLog, FCounters, FAssets, std::move(Routes)),
      FServer([this](const TRequest& Request) { return FPipeline.HandleRequest(Request); },
              [&] {
                Settings.EveryAnswer = SecurityHeaders();
                return Settings;
              }()) {
  FLog.ShowInWindow([] {});
  FServer.Start(0);
  FPipeline.SetSession(kToken, FServer.BoundPort());
}

TTestServer::~TTestServer() { FServer.Stop(); }

bool TTestServer::LogHas(const std::string& Line) {
  for (std::string& Taken : FLog.TakeLines()) FSeen.push_back(std::move(Taken));
  return std::find(FSeen.begin(), FSeen.end(), Line) != FSeen.end();
}

std::unique_ptr<httplib::Client> TTestServer::Client() const {
  auto Client = std::make_unique<httplib::Client>("127.0.0.1", Port());
  Client->set_keep_alive(true);
  Client->set_read_timeout(10, 0);
  return Client;
}

httplib::Headers TTestServer::WithCookie(const std::string& Token) const {
  return {{"Cookie", "mirelon_session=" + Token}};
}

TRawClient::TRawClient(int Port) {
  FSocket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_port = htons(static_cast<uint16_t>(Port));
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(FSocket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0)
    throw std::runtime_error("connect failed");
}

TRawClient::~TRawClient() { ::close(FSocket); }

bool TRawClient::Send(const std::string& Bytes) {
  size_t Sent = 0;
  while (Sent < Bytes.size()) {
    const ssize_t Count = ::send(FSocket, Bytes.data() + Sent, Bytes.size() - Sent, MSG_NOSIGNAL);
    if (Count <= 0) return false;
    Sent += static_cast<size_t>(Count);
  }
  return true;
}

namespace {

// Reads what is there within TimeoutMs; false at the end of the stream.
bool ReadSome(int Socket, std::string& Into, int TimeoutMs) {
  pollfd Item{Socket, POLLIN, 0};
  if (::poll(&Item, 1, TimeoutMs) <= 0) return false;
  char Buffer[65536];
  const ssize_t Got = ::recv(Socket, Buffer, sizeof Buffer, 0);
  if (Got <= 0) return false;
  Into.append(Buffer, static_cast<size_t>(Got));
  return true;
}

}  // namespace

std::string TRawClient::ReadAll(int TimeoutMs) {
  std::string All = std::move(FPending);
  FPending.clear();
  while (ReadSome(FSocket, All, TimeoutMs)) {
  }
  return All;
}

std::string TRawClient::ReadAnswer(int TimeoutMs) {
  std::string& Text = FPending;
  size_t HeadEnd;
  while ((HeadEnd = Text.find("\r\n\r\n")) == std::string::npos)
    if (!ReadSome(FSocket, Text, TimeoutMs)) return std::exchange(Text, {});
  size_t Length = 0;
  const size_t At = Text.find("Content-Length: ");
  if (At != std::string::npos && At < HeadEnd) Length = std::stoul(Text.substr(At + 16));
  while (Text.size() < HeadEnd + 4 + Length)
    if (!ReadSome(FSocket, Text, TimeoutMs)) break;
  std::string Answer = Text.substr(0, HeadEnd + 4 + Length);
  Text.erase(0, Answer.size());
  return Answer;
}

bool TRawClient::ClosedWithin(int TimeoutMs) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (std::chrono::steady_clock::now() < Until) {
    pollfd Item{FSocket, POLLIN, 0};
    if (::poll(&Item, 1, 10) <= 0) continue;
    char Buffer[4096];
    if (::recv(FSocket, Buffer, sizeof Buffer, 0) <= 0) return true;
  }
  return false;
}

int FreePort() {
  const int Socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
  socklen_t Length = sizeof Address;
  ::getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Length);
  ::close(Socket);
  return ntohs(Address.sin_port);
}

int RawStatus(const std::string& Answer) {
  if (Answer.rfind("HTTP/1.1 ", 0) != 0 || Answer.size() < 12) return 0;
  return std::stoi(Answer.substr(9, 3));
}

std::vector<std::string> OfflineStartUpLines(int Port, const std::string& StorageFile) {
  return {"# Port personnalisé : " + std::to_string(Port),
          "# Bienvenue sur Mirelon, v" MIRELON_VERSION_TEXT,
          "# Le code, en toute simplicité.",
          "# Apprends, écris et exécute ton code simplement.",
          "# Recherche des mises à jour...",
          "# Mode hors ligne : pas de recherche de mises à jour.",
          "# Clique sur « Go ! Mirelon » pour accéder à l'interface !",
          "# Stockage des programmes : " + StorageFile};
}

}  // namespace mirelon::test
