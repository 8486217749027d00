// Tells the help database's check what the language knows, as JSON on stdout:
//   help_vocabulary          the builtins (aliases grouped by builtin number)
//                            and the keyword table (word -> token type name)
//   help_vocabulary --lex    every line of stdin lexed: its tokens, each as
//                            {"type": name in messages, "value": text}
// The check then compares the help's names with these, so that a builtin or a
// keyword added to the language without its help entry fails the test.
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/Lexer.h"
#include "core/Text.h"
#include "core/builtins/Builtins.h"

using namespace mirelon;
using nlohmann::json;

namespace {

// ttIdentifiant, ttTexte and the other types without a keyword are named by
// their member so that the check never mistakes them for a keyword.
std::string TypeLabel(TMirelonTokenType t) {
  switch (t) {
    case ttNombre: return "nombre";
    case ttTexte: return "texte";
    case ttIdentifiant: return "identifiant";
    case ttEOL: return "fin de ligne";
    case ttEOF: return "fin du programme";
    case ttInconnu: return "inconnu";
    default: return Utf16ToUtf8(TokenTypeName(t));
  }
}

json Vocabulary() {
  std::map<int32_t, std::vector<std::string>> byNumber;
  for (const auto& [name, number] : BuiltinIndex()) byNumber[number].push_back(Utf16ToUtf8(name));
  json builtins = json::array();
  for (auto& [number, names] : byNumber) builtins.push_back(names);
  json keywords = json::object();
  for (const auto& [word, type] : KeywordTable()) keywords[Utf16ToUtf8(word)] = TypeLabel(type);
  // Keywords of one or more words are the types whose own name lexes back to
  // them ("fin tant que", "sinon selon", "répète"); symbols and literals do not.
  json keywordTypes = json::array();
  for (int t = 0; t < kTokenTypeCount; ++t) {
    auto type = static_cast<TMirelonTokenType>(t);
    std::vector<TMirelonToken> tokens = TMirelonLexer(TokenTypeName(type)).Tokenize();
    if (tokens.size() == 2 && tokens[0].TokenType == type) keywordTypes.push_back(TypeLabel(type));
  }
  return {{"builtins", builtins},
          {"builtinCount", BuiltinCount()},
          {"keywords", keywords},
          {"keywordTypes", keywordTypes}};
}

json Lex(const std::string& line) {
  json tokens = json::array();
  try {
    for (const TMirelonToken& tok : TMirelonLexer(Utf8ToUtf16(line)).Tokenize())
      if (tok.TokenType != ttEOF) tokens.push_back({{"type", TypeLabel(tok.TokenType)}, {"value", Utf16ToUtf8(tok.Value)}});
  } catch (const std::exception& e) {
    return {{"error", e.what()}};
  }
  return tokens;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--lex") {
    json all = json::array();
    std::string line;
    while (std::getline(std::cin, line)) all.push_back(Lex(line));
    std::cout << all.dump() << '\n';
    return 0;
  }
  std::cout << Vocabulary().dump() << '\n';
  return 0;
}
