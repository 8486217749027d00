#include "shell/MinifyCommand.h"

#include <cstdio>

#include "minify/Minify.h"
#include "shell/Console.h"
#include "shell/RunCommand.h"
#include "shell/WholeFile.h"

namespace mirelon {

int RunMinifyCommand(const std::vector<std::string>& args) {
  if (args.size() != 2 || (args[0] != "js" && args[0] != "css")) {
    WriteErrorLine("mirelon : minify attend js ou css puis exactement un fichier");
    WriteErrorLine("Essayez \"mirelon --help\".");
    return kExitUsage;
  }
  const std::string& path = args[1];
  std::string error;
  const auto bytes = ReadWholeFile(path, error);
  if (!bytes) {
    WriteErrorLine("Impossible de lire le fichier \"" + path + "\" : " + error);
    return kExitUsage;
  }
  std::string minified;
  try {
    minified = args[0] == "js" ? MinifyJsResource(*bytes) : MinifyCssResource(*bytes);
  } catch (const EMinifyError& e) {
    WriteErrorLine("mirelon : " + path + " : " + e.what());
    return kExitError;
  }
  const bool written = std::fwrite(minified.data(), 1, minified.size(), stdout) == minified.size();
  if (std::fflush(stdout) != 0 || !written) {
    WriteErrorLine("mirelon : écriture impossible sur la sortie standard");
    return kExitError;
  }
  return kExitDone;
}

}  // namespace mirelon
