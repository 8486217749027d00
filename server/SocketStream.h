// One accepted connection as the HTTP library reads and writes it, with the
// limits that keep a stalled or hostile client from holding anything up:
//   - each read waits at most IdleRead for bytes to arrive;
//   - a whole request (its head and body) must arrive within RequestDeadline;
//   - its head (request line and headers) may not exceed MaxHead bytes.
// Reads are buffered, so the library's byte-at-a-time line reading is cheap
// and bytes of a next (pipelined) request stay here for the next round.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <string>

namespace mirelon {

struct TStreamLimits {
  std::chrono::milliseconds IdleRead{5000};
  std::chrono::milliseconds RequestDeadline{30000};
  std::chrono::milliseconds WriteTimeout{10000};
  size_t MaxHead = 64 * 1024;
};

class TSocketStream final : public httplib::Stream {
 public:
  TSocketStream(int Socket, TStreamLimits Limits) : FSocket(Socket), FLimits(Limits) {}

  // Waits up to Idle for the first byte of a next request (or the end of
  // the connection); true when there is something to read.
  bool WaitForRequest(std::chrono::milliseconds Idle);
  // A request begins: its deadline starts and its head is counted.
  void BeginRequest();
  // The head was read; the body is limited by its reader.
  void EndHead() { FInHead = false; }
  // The request was read; writing the answer has no deadline of its own.
  void EndRequest() { FHasDeadline = false; }
  bool SawEnd() const { return FSawEnd; }

  // Reads exactly Size bytes; false on the end, a time-out or an error.
  bool ReadExact(char* Into, size_t Size);
  // A line up to "\n" (without "\r\n"), at most MaxLength bytes.
  bool ReadLine(std::string& Line, size_t MaxLength);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* Into, size_t Size) override;
  ssize_t write(const char* From, size_t Size) override;
  void get_remote_ip_and_port(std::string& Ip, int& Port) const override;
  void get_local_ip_and_port(std::string& Ip, int& Port) const override;
  socket_t socket() const override { return FSocket; }

 private:
  bool Fill();
  int WaitMs() const;

  int FSocket;
  TStreamLimits FLimits;
  std::array<char, 16 * 1024> FBuffer;
  size_t FBegin = 0, FEnd = 0;
  bool FSawEnd = false;
  bool FInHead = false;
  size_t FHeadBytes = 0;
  bool FHasDeadline = false;
  std::chrono::steady_clock::time_point FDeadline;
};

}  // namespace mirelon
