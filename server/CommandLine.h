// The command line of the program, read in order:
//   --port=N      the server's port (see IsPortAllowed), exact case
//   --stopping=M  the per-turn time limit, 2 to 10 minutes, exact case
//   --start       start the server (and open the browser) once up, any case
//   --offline     no update check and no run report, any case
//   --service=URL the maker's web service ("https://host[:port]"), exact case
// Other arguments are ignored. Numbers read as integers, 0 when they are not.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

class TConsoleLog;

inline constexpr int kDefaultPort = 8080;
inline constexpr int kDefaultStoppingMinutes = 2;

// Ports the server never uses, even inside 1024..65535.
extern const std::array<int, 44> RefusedPorts;

// 1024 <= Port <= 65535 and not refused.
bool IsPortAllowed(int64_t Port);

// A decimal integer with an optional sign that fits 32 bits; 0 otherwise.
int32_t ReadInteger(std::string_view Text);

// The port a "--port=" text chooses, with its log line: "# Port personnalisé",
// "# Port invalide ..." (0 or less) or "# Port N refusé ..." (the default
// stays). An empty text keeps the default and logs nothing.
int ChoosePort(std::string_view Text, TConsoleLog& Log);

struct TCommandLine {
  int Port = kDefaultPort;
  int StoppingMinutes = kDefaultStoppingMinutes;
  bool AutoStart = false;
  bool Offline = false;
  std::optional<std::string> Service;  // set by --service=
};

// Reads Args (without the program and command names), logging the time
// limit lines as they come and then the port line.
TCommandLine ReadCommandLine(const std::vector<std::string>& Args, TConsoleLog& Log);

}  // namespace mirelon
