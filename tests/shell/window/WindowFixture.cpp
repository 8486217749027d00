#include "WindowFixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QThread>
#include <atomic>

namespace mirelon::test {

namespace {

std::filesystem::path NewRoot() {
  static std::atomic<int> Count{0};
  auto Root = std::filesystem::temp_directory_path() /
              ("mirelon-window-" + std::to_string(getpid()) + "-" + std::to_string(Count++));
  std::filesystem::remove_all(Root);
  std::filesystem::create_directories(Root);
  return Root;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& Done, int Milliseconds) {
  QElapsedTimer Clock;
  Clock.start();
  while (!Done()) {
    if (Clock.elapsed() > Milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

void PumpPending() {
  for (int I = 0; I < 5; ++I) QCoreApplication::processEvents();
}

int FreePort() {
  const int Socket = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in Address{};
  Address.sin_family = AF_INET;
  Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
  socklen_t Length = sizeof Address;
  getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Length);
  close(Socket);
  return ntohs(Address.sin_port);
}

WindowTest::WindowTest() : Root(NewRoot()), App({Root / "Documents", Root / "AppData"}, "") {}

WindowTest::~WindowTest() {
  Window.reset();
  std::error_code Ignored;
  std::filesystem::remove_all(Root, Ignored);
}

void WindowTest::Open(std::vector<std::string> Args) {
  Args.push_back("--offline");
  Window = std::make_unique<TFMirelon>(App, Args, [this](const std::string& Url) {
    Opened.push_back(Url);
    return BrowserStarts;
  });
  Window->show();
  PumpPending();
}

QPushButton* WindowTest::Button(const char* Name) const { return Window->findChild<QPushButton*>(Name); }

bool WindowTest::LogHas(const std::string& Line) const { return Lines().contains(QString::fromStdString(Line)); }

}  // namespace mirelon::test
