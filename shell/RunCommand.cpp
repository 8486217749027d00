#include "shell/RunCommand.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/Text.h"
#include "session/ExecSession.h"
#include "session/RunOutcome.h"
#include "shell/Console.h"

namespace mirelon {

namespace {

struct TRunOptions {
  std::string Path;
  uint32_t Seed = 0;
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

// Runs the program in an execution session, answering its questions from
// the console; Ctrl-C asks the session to abort.
TRunOutcome RunProgram(const std::u16string& Source, uint32_t Seed) {
  TSessionOptions Options;
  Options.OnEntry = WriteOutputEntry;
  TSessionRef Session = StartSession(Source, static_cast<int32_t>(Seed), std::move(Options));
  SetInterruptAction([Session] { Session->RequestAbort(); });
  if (Interrupted()) Session->RequestAbort();  // a Ctrl-C before the action was set
  for (;;) {
    while (!Session->WaitTurn(UINT32_MAX)) {
    }
    if (Session->State() != ssWaitingInput) break;
    // Without an answer (Ctrl-C), the interrupt action has asked for the abort.
    if (std::optional<std::u16string> Answer = AskOnConsole(Session->Prompt())) Session->ProvideInput(*Answer);
  }
  SetInterruptAction({});
  TRunOutcome Outcome{Session->State(), Session->ErrorMsg(), Session->ErrorLine()};
  ClearCurrentSession(Session);
  return Outcome;
}

int ExitCode(const TRunOutcome& Outcome) {
  if (Outcome.State == ssError) return kExitError;
  return Outcome.State == ssAborted || Interrupted() ? kExitInterrupted : kExitDone;
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
  TRunOutcome Outcome;
  // A session that cannot start (no thread) fails the run the same way.
  TRunOutcome Failure = RunToOutcome([&] { Outcome = RunProgram(*Source, Options.Seed); });
  if (Failure.State != ssDone) Outcome = Failure;
  int Code = ExitCode(Outcome);
  if (Code == kExitError) WriteErrorLine(Utf16ToUtf8(Outcome.ErrorMsg));
  if (Code == kExitInterrupted) WriteErrorLine("Exécution interrompue");
  return Code;
}

}  // namespace mirelon
