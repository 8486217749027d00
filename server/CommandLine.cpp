#include "server/CommandLine.h"

#include <algorithm>
#include <charconv>

#include "log/ConsoleLog.h"
#include "server/HttpTypes.h"

namespace mirelon {

// Mail, name, file-sharing, database and remote-desktop services: a port
// that another program of the machine may well be listening on.
const std::array<int, 44> RefusedPorts = {20,  21,  22,  23,  25,  53,  67,  68,   69,   79,   80,    88,   110,  111,  119,
                                          123, 135, 137, 138, 139, 143, 161, 162,  179,  389,  443,   445,  465,  514,  515,
                                          587, 631, 636, 993, 995, 1433, 1434, 1521, 3306, 3389, 5432, 5900, 6379, 27017};

bool IsPortAllowed(int64_t Port) {
  return Port >= 1024 && Port <= 65535 && std::find(RefusedPorts.begin(), RefusedPorts.end(), Port) == RefusedPorts.end();
}

int32_t ReadInteger(std::string_view Text) {
  if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
  int32_t Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return Error == std::errc() && End == Text.data() + Text.size() && !Text.empty() ? Value : 0;
}

int ChoosePort(std::string_view Text, TConsoleLog& Log) {
  if (Text.empty()) return kDefaultPort;
  const int32_t Port = ReadInteger(Text);
  if (IsPortAllowed(Port)) {
    Log.ELogEvent("# Port personnalisé : " + std::to_string(Port));
    return Port;
  }
  if (Port <= 0)
    Log.ELogEvent("# Port invalide, utilisation du port par défaut : 8080");
  else
    Log.ELogEvent("# Port " + std::to_string(Port) + " refusé (réservé ou sensible), utilisation du port par défaut : 8080");
  return kDefaultPort;
}

namespace {

bool StartsWith(std::string_view Text, std::string_view Prefix) { return Text.substr(0, Prefix.size()) == Prefix; }

void ReadStopping(std::string_view Text, TCommandLine& Line, TConsoleLog& Log) {
  const int32_t Minutes = ReadInteger(Text);
  if (Minutes >= 2 && Minutes <= 10) {
    Line.StoppingMinutes = Minutes;
    Log.ELogEvent("# Timeout d'exécution : " + std::to_string(Minutes) + " minutes.");
  } else {
    Log.ELogEvent("# Timeout --stopping=" + std::to_string(Minutes) + " invalide (2–10 min), valeur par défaut : 2 min");
  }
}

}  // namespace

TCommandLine ReadCommandLine(const std::vector<std::string>& Args, TConsoleLog& Log) {
  TCommandLine Line;
  std::string PortText;
  for (const std::string& Arg : Args) {
    if (StartsWith(Arg, "--port="))
      PortText = Arg.substr(7);
    else if (SameAscii(Arg, "--start"))
      Line.AutoStart = true;
    else if (StartsWith(Arg, "--stopping="))
      ReadStopping(std::string_view(Arg).substr(11), Line, Log);
    else if (SameAscii(Arg, "--offline"))
      Line.Offline = true;
    else if (StartsWith(Arg, "--service="))
      Line.Service = Arg.substr(10);
  }
  Line.Port = ChoosePort(PortText, Log);
  return Line;
}

}  // namespace mirelon
