// Runs any program. Output is dropped, every question gets the same answer,
// and the abort check stops a run after a small budget of statements and
// loop turns so that each input stays short. The files builtins work in a
// scratch folder; without network, the fetching builtins fail fast.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/Interpreter.h"
#include "core/Memory.h"
#include "core/builtins/Builtins.h"
#include "tools/fuzz/FuzzInput.h"

using namespace mirelon;

namespace {

constexpr int kCheckBudget = 20000;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/mirelon-fuzz-XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string program = fuzz::InputText(data, size);
  int64_t accountedBefore = AccountedBytes();
  SeedRandom(1);
  {
    TMirelon M{StandardBuiltins()};
    M.OnOutput = [](const std::u16string&) {};
    M.OnInput = [](const std::u16string&) { return std::u16string(u"42"); };
    int checks = 0;
    M.SetOnCheckAbort([&checks] { return ++checks > kCheckBudget; });
    fuzz::Guarded([&] { M.Execute(program); });
  }
  // Every value of a finished run is freed, cycles included: what stays
  // accounted would shrink the budget of every later run.
  if (AccountedBytes() != accountedBefore) {
    std::fprintf(stderr, "accounted bytes leaked: %lld\n", static_cast<long long>(AccountedBytes() - accountedBefore));
    std::abort();
  }
  return 0;
}
