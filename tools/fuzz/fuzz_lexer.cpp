// Tokenizes any bytes: the lexer must end every input with one end token.
#include <cstdlib>

#include "core/Lexer.h"
#include "tools/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mirelon::fuzz::Guarded([&] {
    auto tokens = mirelon::TMirelonLexer(mirelon::fuzz::InputText(data, size)).Tokenize();
    if (tokens.empty() || tokens.back().TokenType != mirelon::ttEOF) std::abort();
  });
  return 0;
}
