// The local server as the workbench uses it, over loopback with keep-alive:
// one execute turn, a turn with a question and its answer, the analysis of a
// long program, analyze requests from 50 connections, and a turn while 200
// idle keep-alive connections are held. The server runs in this process
// (the whole application, offline, with temporary folders); the counters
// give the latency percentiles and the resident memory.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "server/Application.h"

namespace {

using namespace mirelon;
namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

// One application for every benchmark, started on a free port.
struct TServed {
  fs::path Root = fs::temp_directory_path() / ("mirelon-bench-" + std::to_string(getpid()));
  std::unique_ptr<TApplication> App;
  int Port = 0;
  std::string Cookie;

  TServed() {
    for (Port = 18700; Port < 18800; ++Port) {
      App = std::make_unique<TApplication>(TAppFolders{Root / "Documents", Root / "config"}, "");
      App->Create({"--offline", "--port=" + std::to_string(Port)});
      if (App->StartServer()) break;
    }
    const std::string Address = App->WorkbenchAddress();
    Cookie = "mirelon_session=" + Address.substr(Address.find("token=") + 6);
  }
  ~TServed() {
    App.reset();
    fs::remove_all(Root);
  }

  std::unique_ptr<httplib::Client> Client() const {
    auto Client = std::make_unique<httplib::Client>("127.0.0.1", Port);
    Client->set_keep_alive(true);
    Client->set_tcp_nodelay(true);  // as browsers do
    Client->set_read_timeout(60, 0);
    return Client;
  }
  httplib::Headers Headers() const { return {{"Cookie", Cookie}}; }
};

TServed& Served() {
  static TServed Instance;
  return Instance;
}

long ResidentKiB() {
  std::ifstream Status("/proc/self/status");
  for (std::string Line; std::getline(Status, Line);)
    if (Line.rfind("VmRSS:", 0) == 0) return std::stol(Line.substr(6));
  return 0;
}

void Percentiles(benchmark::State& State, std::vector<double> Micros) {
  if (Micros.empty()) return;
  std::sort(Micros.begin(), Micros.end());
  State.counters["p50_us"] = Micros[Micros.size() / 2];
  State.counters["p99_us"] = Micros[std::min(Micros.size() - 1, Micros.size() * 99 / 100)];
  State.counters["rss_MiB"] = static_cast<double>(ResidentKiB()) / 1024;
}

double MicrosSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::micro>(TClock::now() - Start).count();
}

// Each iteration: the requests of one run, one after the other, on one connection.
void RunTurns(benchmark::State& State, const std::vector<std::string>& Bodies, const std::string& Expected) {
  TServed& Server = Served();
  auto Client = Server.Client();
  std::vector<double> Micros;
  for (auto _ : State) {
    const auto Start = TClock::now();
    std::string Last;
    for (const std::string& Body : Bodies) {
      auto Answer = Client->Post("/api/execute", Server.Headers(), Body, "application/json");
      Last = Answer ? Answer->body : "";
    }
    Micros.push_back(MicrosSince(Start));
    if (Last.find(Expected) == std::string::npos) {
      State.SkipWithError("unexpected answer");
      break;
    }
  }
  Percentiles(State, std::move(Micros));
}

void BM_ExecuteOneLine(benchmark::State& State) {
  RunTurns(State, {R"({"code":"affiche 1","seed":1})"}, R"("done":true)");
}
BENCHMARK(BM_ExecuteOneLine)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_ExecuteQuestionAndAnswer(benchmark::State& State) {
  RunTurns(State,
           {R"({"code":"demande \"Ton nom ?\" dans n\naffiche \"Bonjour \" + n","seed":1})", R"({"inputs":["Lou"]})"},
           "Bonjour Lou");
}
BENCHMARK(BM_ExecuteQuestionAndAnswer)->Unit(benchmark::kMicrosecond)->Iterations(1000);

std::string LongProgramBody(int Lines) {
  std::string Code;
  for (int I = 0; I < Lines / 5; ++I)
    Code += "x" + std::to_string(I) + " vaut " + std::to_string(I) + "\\nsi x" + std::to_string(I) +
            " > 3 alors\\n  affiche x" + std::to_string(I) + " * 2\\nsinon\\nfin si\\n";
  return "{\"code\":\"" + Code + "\"}";
}

void BM_Analyze5000Lines(benchmark::State& State) {
  TServed& Server = Served();
  auto Client = Server.Client();
  const std::string Body = LongProgramBody(5000);
  std::vector<double> Micros;
  for (auto _ : State) {
    const auto Start = TClock::now();
    auto Answer = Client->Post("/api/analyze", Server.Headers(), Body, "application/json");
    Micros.push_back(MicrosSince(Start));
    if (!Answer || Answer->status != 200) {
      State.SkipWithError("analyze failed");
      break;
    }
  }
  Percentiles(State, std::move(Micros));
}
BENCHMARK(BM_Analyze5000Lines)->Unit(benchmark::kMillisecond)->Iterations(50);

// Requests per second of small analyze requests, 50 connections at once.
void BM_Analyze50Connections(benchmark::State& State) {
  TServed& Server = Served();
  const std::string Body = R"({"code":"pour i de 1 à 10\n  affiche i\nfin pour"})";
  constexpr int kConnections = 50, kEach = 40;
  for (auto _ : State) {
    std::atomic<int> Failed{0};
    const auto Start = TClock::now();
    std::vector<std::thread> Threads;
    for (int C = 0; C < kConnections; ++C)
      Threads.emplace_back([&] {
        auto Client = Server.Client();
        for (int I = 0; I < kEach; ++I) {
          auto Answer = Client->Post("/api/analyze", Server.Headers(), Body, "application/json");
          if (!Answer || Answer->status != 200) ++Failed;
        }
      });
    for (auto& Thread : Threads) Thread.join();
    State.counters["requests_per_s"] = kConnections * kEach / (MicrosSince(Start) / 1e6);
    State.counters["failed"] = Failed.load();
    State.counters["rss_MiB"] = static_cast<double>(ResidentKiB()) / 1024;
  }
}
BENCHMARK(BM_Analyze50Connections)->Unit(benchmark::kMillisecond)->Iterations(3);

// The one-line turn again while 200 other connections stay open and idle.
void BM_ExecuteWith200IdleConnections(benchmark::State& State) {
  TServed& Server = Served();
  std::vector<std::unique_ptr<httplib::Client>> Idle;
  for (int I = 0; I < 200; ++I) {
    Idle.push_back(Server.Client());
    Idle.back()->Get("/api/ping", Server.Headers());
  }
  State.counters["rss_idle200_MiB"] = static_cast<double>(ResidentKiB()) / 1024;
  RunTurns(State, {R"({"code":"affiche 1","seed":1})"}, R"("done":true)");
}
BENCHMARK(BM_ExecuteWith200IdleConnections)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
