#include "server/SocketStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mirelon {
namespace {

using TClock = std::chrono::steady_clock;

// Polls for Events, retrying when a signal interrupts; true when ready
// (or when the peer hung up, which the next read or write reports).
bool PollFor(int Socket, short Events, int TimeoutMs) {
  pollfd Item{Socket, Events, 0};
  while (true) {
    const int Ready = ::poll(&Item, 1, TimeoutMs);
    if (Ready >= 0) return Ready > 0;
    if (errno != EINTR) return false;
  }
}

void AddressOf(int Socket, bool Remote, std::string& Ip, int& Port) {
  sockaddr_in Address{};
  socklen_t Length = sizeof Address;
  const int Result = Remote ? ::getpeername(Socket, reinterpret_cast<sockaddr*>(&Address), &Length)
                            : ::getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Length);
  if (Result != 0 || Address.sin_family != AF_INET) return;
  char Text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &Address.sin_addr, Text, sizeof Text);
  Ip = Text;
  Port = ntohs(Address.sin_port);
}

}  // namespace

bool TSocketStream::WaitForRequest(std::chrono::milliseconds Idle) {
  if (FBegin < FEnd) return true;
  if (FSawEnd) return false;
  return PollFor(FSocket, POLLIN, static_cast<int>(Idle.count()));
}

void TSocketStream::BeginRequest() {
  FInHead = true;
  FHeadBytes = 0;
  FHasDeadline = true;
  FDeadline = TClock::now() + FLimits.RequestDeadline;
}

// The wait for the next bytes: the idle limit, shortened by the deadline.
int TSocketStream::WaitMs() const {
  auto Wait = FLimits.IdleRead;
  if (FHasDeadline)
    Wait = std::min(Wait, std::chrono::duration_cast<std::chrono::milliseconds>(FDeadline - TClock::now()));
  return static_cast<int>(std::max<int64_t>(Wait.count(), 0));
}

bool TSocketStream::Fill() {
  if (FSawEnd || !PollFor(FSocket, POLLIN, WaitMs())) return false;
  while (true) {
    const ssize_t Got = ::recv(FSocket, FBuffer.data(), FBuffer.size(), 0);
    if (Got > 0) {
      FBegin = 0;
      FEnd = static_cast<size_t>(Got);
      return true;
    }
    if (Got < 0 && errno == EINTR) continue;
    FSawEnd = true;
    return false;
  }
}

ssize_t TSocketStream::read(char* Into, size_t Size) {
  if (FBegin == FEnd && !Fill()) return FSawEnd ? 0 : -1;
  size_t Count = std::min(Size, FEnd - FBegin);
  if (FInHead) {
    if (FHeadBytes >= FLimits.MaxHead) return -1;
    Count = std::min(Count, FLimits.MaxHead - FHeadBytes);
    FHeadBytes += Count;
  }
  std::memcpy(Into, FBuffer.data() + FBegin, Count);
  FBegin += Count;
  return static_cast<ssize_t>(Count);
}

bool TSocketStream::ReadExact(char* Into, size_t Size) {
  while (Size > 0) {
    const ssize_t Got = read(Into, Size);
    if (Got <= 0) return false;
    Into += Got;
    Size -= static_cast<size_t>(Got);
  }
  return true;
}

bool TSocketStream::ReadLine(std::string& Line, size_t MaxLength) {
  Line.clear();
  char Byte;
  while (Line.size() <= MaxLength) {
    if (read(&Byte, 1) != 1) return false;
    if (Byte == '\n') {
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
      return true;
    }
    Line += Byte;
  }
  return false;
}

bool TSocketStream::is_readable() const { return FBegin < FEnd || PollFor(FSocket, POLLIN, WaitMs()); }

bool TSocketStream::is_writable() const {
  return PollFor(FSocket, POLLOUT, static_cast<int>(FLimits.WriteTimeout.count()));
}

// Sends every byte, or fails: a client that stops reading for WriteTimeout
// loses its connection.
ssize_t TSocketStream::write(const char* From, size_t Size) {
  size_t Sent = 0;
  while (Sent < Size) {
    if (!is_writable()) return -1;
    const ssize_t Count = ::send(FSocket, From + Sent, Size - Sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (Count > 0)
      Sent += static_cast<size_t>(Count);
    else if (Count < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
      return -1;
  }
  return static_cast<ssize_t>(Size);
}

void TSocketStream::get_remote_ip_and_port(std::string& Ip, int& Port) const { AddressOf(FSocket, true, Ip, Port); }

void TSocketStream::get_local_ip_and_port(std::string& Ip, int& Port) const { AddressOf(FSocket, false, Ip, Port); }

}  // namespace mirelon
