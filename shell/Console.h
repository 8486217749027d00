// The terminal side of a console run: output entries on stdout, questions on
// stderr with their answers read from stdin, and Ctrl-C as an abort request.
#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// Ctrl-C sets the flag read by the run's abort check and wakes a question
// that waits for stdin; a second Ctrl-C ends the process at once.
void InstallInterruptHandler();
bool Interrupted();

// One output entry: UTF-8, a line feed, flushed.
void WriteOutputEntry(const std::u16string& Msg);

// Shows the prompt on stderr and returns the next line of stdin without its
// line end (the empty text at end of input). Raises EMirelonAborted when
// Ctrl-C comes while it waits.
std::u16string AskOnConsole(const std::u16string& Prompt);

// Writes Line to stderr on a line of its own.
void WriteErrorLine(std::string_view Line);

}  // namespace mirelon
