// The terminal side of a console run: output entries on stdout, questions on
// stderr with their answers read from stdin, and Ctrl-C as an abort request.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// From here on SIGINT is taken by a thread of its own: the first Ctrl-C sets
// Interrupted(), wakes a question that waits for stdin and calls the
// interrupt action; a second one ends the process at once. Call it before
// any other thread starts, so that every thread leaves the signal to it.
void InstallInterruptHandler();
// What a Ctrl-C also does; it runs on the signal's thread, so it may take
// locks. Empty: nothing more.
void SetInterruptAction(std::function<void()> Action);
bool Interrupted();

// One output entry: UTF-8, a line feed, flushed.
void WriteOutputEntry(const std::u16string& Msg);

// Shows the prompt on stderr and returns the next line of stdin without its
// line end (the empty text at end of input); nothing when Ctrl-C comes
// while it waits.
std::optional<std::u16string> AskOnConsole(const std::u16string& Prompt);

// Writes Line to stderr on a line of its own.
void WriteErrorLine(std::string_view Line);

}  // namespace mirelon
