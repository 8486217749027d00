#include "shell/RunCommand.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/Interpreter.h"
#include "core/builtins/Builtins.h"
#include "session/Worker.h"
#include "shell/Console.h"

namespace mirelon {

namespace {

struct TRunOptions {
  std::string Path;
  uint32_t Seed = 0;
};

struct TRunOutcome {
  int ExitCode = kExitDone;
  std::string Error;
};

int UsageError(const std::string& Message) {
  WriteErrorLine("mirelon run : " + Message);
  WriteErrorLine("Usage : mirelon run FICHIER [--seed=N]");
  return kExitUsage;
}

// The seed keeps the low 32 bits of any 64-bit integer, negative ones included.
std::optional<uint32_t> ParseSeed(std::string_view Text) {
  int64_t Value = 0;
  auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size()) return std::nullopt;
  return static_cast<uint32_t>(Value);
}

uint32_t ClockSeed() {
  return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// Fills Options from Args; returns an error message, empty when they are valid.
std::string ParseRunArgs(const std::vector<std::string>& Args, TRunOptions& Options) {
  std::optional<uint32_t> Seed;
  bool HasPath = false;
  for (const std::string& Arg : Args) {
    if (Arg.rfind("--seed=", 0) == 0) {
      Seed = ParseSeed(std::string_view(Arg).substr(7));
      if (!Seed) return "graine invalide \"" + Arg.substr(7) + "\" (un nombre entier est attendu)";
    } else if (Arg.rfind("-", 0) == 0 && Arg.size() > 1) {
      return "option inconnue \"" + Arg + "\"";
    } else if (HasPath) {
      return "un seul fichier est attendu (\"" + Arg + "\" en trop)";
    } else {
      Options.Path = Arg;
      HasPath = true;
    }
  }
  if (!HasPath) return "fichier manquant";
  Options.Seed = Seed ? *Seed : ClockSeed();
  return "";
}

// The program text: UTF-8 without its byte-order mark, invalid bytes as U+FFFD.
std::optional<std::u16string> ReadProgram(const std::string& Path) {
  std::error_code Ignored;
  if (std::filesystem::is_directory(Path, Ignored)) return std::nullopt;
  std::ifstream In(Path, std::ios::binary);
  if (!In) return std::nullopt;
  std::ostringstream Bytes;
  Bytes << In.rdbuf();
  if (In.bad()) return std::nullopt;
  return Utf8ToUtf16(StripBom(Bytes.str()));
}

// Runs the program on a worker thread; a failure becomes the outcome's
// message, the text an execution session would report.
TRunOutcome RunProgram(const std::u16string& Source, uint32_t Seed) {
  TRunOutcome Outcome;
  auto Fail = [&Outcome](std::string Message) { Outcome = {kExitError, std::move(Message)}; };
  try {
    RunOnWorker([&] {
      try {
        TMirelon M{StandardBuiltins()};
        M.OnOutput = WriteOutputEntry;
        M.OnInput = AskOnConsole;
        M.SetOnCheckAbort(Interrupted);
        SeedRandom(Seed);
        M.Execute(Source);
      } catch (const EMirelonAborted&) {
        Outcome.ExitCode = kExitInterrupted;
      } catch (const EMirelonExitProgram&) {
        // "terminer" is a normal end.
      } catch (const Exception& E) {
        Fail(Utf16ToUtf8(E.Message()));
      } catch (const std::exception& E) {
        Fail(E.what());
      } catch (...) {
        Fail("Erreur interne inconnue");
      }
    });
  } catch (const std::exception& E) {
    Fail(E.what());
  }
  if (Outcome.ExitCode == kExitDone && Interrupted()) Outcome.ExitCode = kExitInterrupted;
  return Outcome;
}

}  // namespace

int RunCommand(const std::vector<std::string>& Args) {
  TRunOptions Options;
  std::string Problem = ParseRunArgs(Args, Options);
  if (!Problem.empty()) return UsageError(Problem);
  std::optional<std::u16string> Source = ReadProgram(Options.Path);
  if (!Source) {
    std::error_code Ignored;
    bool Exists = std::filesystem::exists(Options.Path, Ignored);
    return UsageError(std::string(Exists ? "impossible de lire le fichier \"" : "fichier introuvable \"") +
                      Options.Path + "\"");
  }
  InstallInterruptHandler();
  TRunOutcome Outcome = RunProgram(*Source, Options.Seed);
  if (Outcome.ExitCode == kExitError) WriteErrorLine(Outcome.Error);
  if (Outcome.ExitCode == kExitInterrupted) WriteErrorLine("Exécution interrompue");
  return Outcome.ExitCode;
}

}  // namespace mirelon
