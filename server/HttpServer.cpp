#include "server/HttpServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "core/Errors.h"
#include "server/ConnectionThreads.h"
#include "server/RequestBody.h"
#include "server/SocketStream.h"

namespace mirelon {
namespace {

using namespace std::chrono_literals;

// One accepted connection while its thread serves it.
struct TConnection {
  TConnection(int Socket, const THttpSettings& Settings)
      : Socket(Socket),
        Stream(Socket, {Settings.IdleRead, Settings.RequestDeadline, Settings.WriteTimeout, Settings.MaxHead}) {}
  int Socket;
  TSocketStream Stream;
  bool Answered = false;     // the last request reached the handler
  bool CloseAfter = false;   // the connection cannot carry another request
};

// The connection whose request the library is reading on this thread.
thread_local TConnection* tConnection = nullptr;
// Set while a connection runs on the accepting thread: it is refused.
thread_local bool tWithoutThread = false;

// The headers that the library adds to requests for its own use.
bool IsLibraryHeader(const std::string& Name) {
  return Name == "REMOTE_ADDR" || Name == "REMOTE_PORT" || Name == "LOCAL_ADDR" || Name == "LOCAL_PORT";
}

TRequest ToRequest(const httplib::Request& From) {
  TRequest Request;
  Request.Method = From.method;
  Request.Path = From.path;
  for (const auto& Item : From.params) Request.Query.push_back(Item);
  for (const auto& Item : From.headers)
    if (!IsLibraryHeader(Item.first)) Request.Headers.push_back(Item);
  Request.ContentType = Request.Header("Content-Type");
  if (Request.HasHeader("Content-Length")) {
    try {
      Request.ContentLength = std::stoll(Request.Header("Content-Length"));
    } catch (const std::exception&) {
      Request.ContentLength = -1;
    }
  }
  return Request;
}

void WriteReply(TReply Reply, httplib::Response& To) {
  To.status = Reply.Status;
  if (!Reply.Location.empty()) Reply.SetHeader("Location", Reply.Location);
  if (!Reply.ContentType.empty()) Reply.SetHeader("Content-Type", Reply.FullContentType());
  // The reply's own lines replace the transport's defaults of the same name.
  for (const auto& [Name, Value] : Reply.Headers) To.headers.erase(Name);
  for (auto& [Name, Value] : Reply.Headers) To.headers.emplace(Name, std::move(Value));
  To.body = std::move(Reply.Body);
}

std::string RawAnswer(int Status, std::string_view Reason, const THeaderList& Headers, std::string_view Json) {
  std::string Text = "HTTP/1.1 " + std::to_string(Status) + " " + std::string(Reason) + "\r\n";
  for (const auto& [Name, Value] : Headers) Text += Name + ": " + Value + "\r\n";
  Text += "Content-Type: application/json; charset=utf-8\r\nContent-Length: " + std::to_string(Json.size()) +
          "\r\nConnection: close\r\n\r\n";
  return Text + std::string(Json);
}

// Closes a connection whose client may still be sending: our side of the
// stream ends first, and what still arrives is read and dropped for a
// moment, so that the client gets our answer instead of a reset.
void CloseLingering(TConnection& Connection, std::chrono::milliseconds Linger) {
  ::shutdown(Connection.Socket, SHUT_WR);
  const auto Until = std::chrono::steady_clock::now() + Linger;
  char Sink[4096];
  while (!Connection.Stream.SawEnd() && std::chrono::steady_clock::now() < Until &&
         Connection.Stream.WaitForRequest(std::chrono::duration_cast<std::chrono::milliseconds>(
             Until - std::chrono::steady_clock::now())))
    if (Connection.Stream.read(Sink, sizeof Sink) < 0) break;
}

}  // namespace

struct THttpServer::TImpl {
  TImpl(THandler Handler, THttpSettings Settings) : FHandler(std::move(Handler)), FSettings(std::move(Settings)) {}

  // The library with its per-connection loop replaced: keep-alive waits
  // that cost nothing while idle, the limits of TSocketStream, and sockets
  // that Stop can close.
  class TLibraryServer final : public httplib::Server {
   public:
    explicit TLibraryServer(TImpl& Owner) : FOwner(Owner) {}
    bool ListenBacklog(int Backlog) { return ::listen(svr_sock_, Backlog) == 0; }

   private:
    bool process_and_close_socket(socket_t Socket) override {
      // An answer goes out in several writes (head, body): without this,
      // Nagle's algorithm and the client's delayed ACK hold each back 40 ms.
      int Yes = 1;
      ::setsockopt(Socket, IPPROTO_TCP, TCP_NODELAY, &Yes, sizeof Yes);
      TConnection Connection(Socket, FOwner.FSettings);
      if (FOwner.Register(Connection)) {
        Serve(Connection);
        // Still registered while it lingers, so that a stop cuts the lingering short.
        if (Connection.CloseAfter) CloseLingering(Connection, 1000ms);
        FOwner.Unregister(Connection);
      } else {
        // Refused before reading anything: a short linger, the accepting thread may be the one waiting.
        FOwner.RefuseBusy(Connection);
        CloseLingering(Connection, 200ms);
      }
      ::close(Socket);
      return true;
    }

    void Serve(TConnection& Connection) {
      while (!FOwner.FStopping && Connection.Stream.WaitForRequest(FOwner.FSettings.KeepAlive)) {
        Connection.Stream.BeginRequest();
        Connection.Answered = false;
        bool Closed = false;
        tConnection = &Connection;
        const bool Written = process_request(Connection.Stream, FOwner.FStopping, Closed, nullptr);
        tConnection = nullptr;
        // An answer the library made itself (a request it could not parse) leaves the stream unusable.
        if (!Connection.Answered) Connection.CloseAfter = true;
        if (!Written || Closed || Connection.CloseAfter) return;
      }
    }

    TImpl& FOwner;
  };

  bool Register(TConnection& Connection) {
    std::lock_guard Lock(FConnectionsLock);
    if (FStopping || tWithoutThread || FConnections.size() >= FSettings.MaxConnections) return false;
    FConnections.insert(&Connection);
    return true;
  }

  void Unregister(TConnection& Connection) {
    std::lock_guard Lock(FConnectionsLock);
    FConnections.erase(&Connection);
  }

  void RefuseBusy(TConnection& Connection) {
    const std::string Answer =
        RawAnswer(503, "Service Unavailable", FSettings.EveryAnswer, "{\"error\":\"Trop de connexions ouvertes\"}");
    Connection.Stream.write(Answer.data(), Answer.size());
    Connection.CloseAfter = true;
  }

  httplib::Server::HandlerResponse PreRouting(const httplib::Request& From, httplib::Response& To) {
    TConnection& Connection = *tConnection;
    Connection.Answered = true;
    WriteReply(Answer(Connection, From), To);
    // The library would act on these when it sends the answer (compressing
    // it, cutting ranges out of it): this server offers neither. The request
    // is the library's own non-const object.
    auto& Library = const_cast<httplib::Request&>(From);
    Library.ranges.clear();
    Library.headers.erase("Accept-Encoding");
    if (Connection.CloseAfter) {
      Library.headers.erase("Connection");
      Library.headers.emplace("Connection", "close");
    }
    return httplib::Server::HandlerResponse::Handled;
  }

  TReply Answer(TConnection& Connection, const httplib::Request& From) {
    TRequest Request = ToRequest(From);
    Connection.Stream.EndHead();
    TRequestBody Body = ReadRequestBody(Connection.Stream, From.headers, FSettings.MaxBody);
    Connection.Stream.EndRequest();
    Connection.CloseAfter = Body.CloseAfter;
    if (Body.Status == TRequestBody::bsTooLarge) return JsonReply(413, "{\"error\":\"Payload too large\"}");
    if (Body.Status == TRequestBody::bsMalformed) return JsonReply(400, "{\"error\":\"Requ\\u00EAte mal form\\u00E9e\"}");
    Request.Body = std::move(Body.Bytes);
    try {
      return FHandler(Request);
    } catch (...) {
      return TextReply(500, "Erreur interne");
    }
  }

  void Start(int Port);
  void Stop();

  THandler FHandler;
  THttpSettings FSettings;
  std::unique_ptr<TLibraryServer> FServer;
  std::thread FListener;
  std::atomic<bool> FListening{false};
  std::atomic<bool> FStopping{false};
  int FPort = 0;
  mutable std::mutex FConnectionsLock;
  std::set<TConnection*> FConnections;
};

namespace {

std::string BindFailure(int Port, int Error) {
  if (Error == EADDRINUSE) return "le port " + std::to_string(Port) + " est déjà utilisé";
  if (Error == EACCES) return "accès refusé au port " + std::to_string(Port);
  return "impossible d'écouter sur 127.0.0.1:" + std::to_string(Port) + (Error ? " (" + std::string(std::strerror(Error)) + ")" : "");
}

}  // namespace

void THttpServer::TImpl::Start(int Port) {
  auto Server = std::make_unique<TLibraryServer>(*this);
  Server->new_task_queue = [this] {
    return new TConnectionThreads([](std::function<void()> Connection) {
      tWithoutThread = true;
      Connection();
      tWithoutThread = false;
    });
  };
  // SO_REUSEADDR only: without SO_REUSEPORT a second server cannot bind a taken port.
  Server->set_socket_options([](socket_t Socket) {
    int Yes = 1;
    ::setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
  });
  Server->set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(FSettings.KeepAlive).count());
  Server->set_keep_alive_max_count(1000000);
  Server->set_read_timeout(FSettings.IdleRead);
  Server->set_write_timeout(FSettings.WriteTimeout);
  Server->set_payload_max_length(FSettings.MaxBody);
  httplib::Headers Defaults;
  for (const auto& Item : FSettings.EveryAnswer) Defaults.insert(Item);
  Server->set_default_headers(Defaults);
  Server->set_pre_routing_handler(
      [this](const httplib::Request& From, httplib::Response& To) { return PreRouting(From, To); });

  errno = 0;
  const int Bound = Port == 0 ? Server->bind_to_any_port("127.0.0.1") : (Server->bind_to_port("127.0.0.1", Port) ? Port : -1);
  if (Bound <= 0) throw Exception(U(BindFailure(Port, errno)));
  // The library listens with a backlog of 5; a burst of connections would wait for SYN retries.
  Server->ListenBacklog(SOMAXCONN);

  FStopping = false;
  FPort = Bound;
  FServer = std::move(Server);
  FListening = true;
  FListener = std::thread([this] {
    FServer->listen_after_bind();
    FListening = false;
  });
  // Stop must find the library running, or it would not end the accept loop.
  while (FListening && !FServer->is_running()) std::this_thread::sleep_for(1ms);
}

void THttpServer::TImpl::Stop() {
  {
    std::lock_guard Lock(FConnectionsLock);
    FStopping = true;
    for (TConnection* Connection : FConnections) ::shutdown(Connection->Socket, SHUT_RDWR);
  }
  FServer->stop();
  FListener.join();
  FServer.reset();
  FPort = 0;
}

THttpServer::THttpServer(THandler Handler, THttpSettings Settings)
    : FImpl(std::make_unique<TImpl>(std::move(Handler), std::move(Settings))) {}

THttpServer::~THttpServer() { Stop(); }

void THttpServer::Start(int Port) {
  if (!Active()) FImpl->Start(Port);
}

void THttpServer::Stop() {
  if (Active()) FImpl->Stop();
}

bool THttpServer::Active() const { return FImpl->FServer != nullptr; }

int THttpServer::BoundPort() const { return FImpl->FPort; }

size_t THttpServer::OpenConnections() const {
  std::lock_guard Lock(FImpl->FConnectionsLock);
  return FImpl->FConnections.size();
}

}  // namespace mirelon
