// `mirelon serve [--port=N] [--stopping=M] [--start] [--offline] [--service=URL]`:
// the program's start-up without a window, then the server at once. Every
// console-log line goes to stdout as it is logged; once the server listens,
// one more line gives the address that authenticates the browser:
//   Ouvre http://localhost:PORT/auth?token=TOKEN
// SIGINT or SIGTERM stops the server ("# Serveur arrêté.") and exits 0.
// Exit 1 when the server cannot start (storage unavailable, port taken).
// A second instance for the same user data folder exits 0 with a message.
#pragma once

#include <string>
#include <vector>

namespace mirelon {

int RunServeCommand(const std::vector<std::string>& Args);

}  // namespace mirelon
