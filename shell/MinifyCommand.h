// The command "mirelon minify js FILE" / "mirelon minify css FILE".
#pragma once

#include <string>
#include <vector>

namespace mirelon {

// Args: the kind ("js" or "css") and the file. Writes the file's bytes as the
// server would send them minified (UTF-8, no byte-order mark) to stdout.
// Returns 0 when done; 1 when the file is not valid UTF-8 or stdout cannot be
// written; 2 on a usage error or a file that cannot be read (message on
// stderr, nothing on stdout).
int RunMinifyCommand(const std::vector<std::string>& args);

}  // namespace mirelon
