// Runs a piece of work on a thread of its own with a chosen stack size and
// waits for it: the interpreter's recursion guard measures the stack it has
// left, so every run gets the same, known stack.
#pragma once

#include <cstddef>
#include <functional>

namespace mirelon {

constexpr size_t kWorkerStackBytes = 1024 * 1024;

// Runs Work on a new thread whose stack is StackBytes long and joins it.
// An exception that escapes Work is raised again on the calling thread;
// std::system_error when the thread cannot be created.
void RunOnWorker(std::function<void()> Work, size_t StackBytes = kWorkerStackBytes);

}  // namespace mirelon
