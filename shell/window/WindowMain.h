// `mirelon` with no command, with `window` or with options only: the
// desktop window over the application object.
#pragma once

#include <string>
#include <vector>

namespace mirelon {

// Args: the command line after the program name (and after `window`);
// DefaultService: the maker's service used without --service=.
// Exits 2 when there is no display to open a window on; 0 when a second
// instance found the first one running, or when the window closed.
int RunWindow(int Argc, char** Argv, const std::vector<std::string>& Args, const std::string& DefaultService);

}  // namespace mirelon
