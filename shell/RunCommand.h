// "mirelon run FILE [--seed=N]": runs a program on the console exactly as an
// execution session runs it.
#pragma once

#include <string>
#include <vector>

namespace mirelon {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// Args: the words that follow "run". Returns the process exit code.
int RunCommand(const std::vector<std::string>& Args);

}  // namespace mirelon
