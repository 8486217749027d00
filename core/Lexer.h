// The lexer: a whole program text becomes one array of tokens, with the
// French comparison phrases rewritten into symbol tokens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mirelon {

enum TMirelonTokenType : uint8_t {
  ttNombre, ttTexte, ttIdentifiant, ttEst, ttUn, ttUne, ttTableau, ttVaut, ttAjoute, ttSoustrait,
  ttSupprime, ttVide, ttAffiche, ttDemande, ttChoisir, ttAppuyer, ttDans, ttConst, ttSi, ttAlors,
  ttSinon, ttSinonSi, ttFinSi, ttTantQue, ttFinTantQue, ttRepete, ttFois, ttFinRepete, ttPour, ttDe,
  ttA, ttPas, ttFinPour, ttSelon, ttCas, ttSinonSelon, ttFinSelon, ttDeuxPoints, ttArrete, ttContinue,
  ttTerminer, ttEssayer, ttAttraper, ttFinEssayer, ttFonction, ttFinFonction, ttProcedure,
  ttFinProcedure, ttRetourne, ttAppelle, ttEt, ttOu, ttNon, ttEgal, ttDifferent, ttInferieur,
  ttSuperieur, ttInfEgal, ttSupEgal, ttPlus, ttMoins, ttEtoile, ttSlash, ttMod, ttExposant, ttParOuv,
  ttParFerm, ttCroOuv, ttCroFerm, ttVirgule, ttCouleur, ttHtml, ttDeboguer, ttClasse, ttFinClasse,
  ttEOL, ttEOF, ttDot, ttInconnu
};
constexpr int kTokenTypeCount = ttInconnu + 1;

struct TMirelonToken {
  TMirelonTokenType TokenType = ttEOF;
  std::u16string Value;
  int32_t Line = -1;
  // Filled by the interpreter after lexing: the interned name of an
  // identifier (index into its name table), -1 for other tokens.
  int32_t Key = -1;
  // Filled by the interpreter: the value of a number literal that reads
  // without error, so that loops do not parse it again.
  bool HasNum = false;
  // Filled by the interpreter: a literal or variable name (no call, index
  // or field follows), and how tightly the token binds as a binary operator.
  bool Atom = false;
  int8_t BinaryLevel = 0;
  double Num = 0;
};

// Hashing that also looks up views, so that words are found without copies.
struct TWordHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view s) const { return std::hash<std::u16string_view>{}(s); }
};
using TKeywordTable = std::unordered_map<std::u16string, TMirelonTokenType, TWordHash, std::equal_to<>>;

// The keyword table: exact lower-case word -> token type.
const TKeywordTable& KeywordTable();
// Keyword type of a word after ASCII lower-casing, ttIdentifiant when none.
TMirelonTokenType LookupKeyword(std::u16string_view word);
// The text naming a token type in messages ("un nombre", "\"(\"", "fin si" ...).
std::u16string TokenTypeName(TMirelonTokenType t);

class TMirelonLexer {
 public:
  explicit TMirelonLexer(std::u16string source);
  TMirelonToken NextToken();
  std::vector<TMirelonToken> Tokenize();  // always ends with exactly one ttEOF

 private:
  char16_t Peek() const;
  char16_t PeekAt(int k) const;
  void Advance();
  void SkipBlanks();
  TMirelonToken ReadString(int line);
  TMirelonToken ReadNumber(int line);
  std::u16string ReadIdentifier();
  TMirelonToken ReadWord(int line);
  bool ReadUnicodeEscape(int line, TMirelonToken& tok);

  std::u16string FSource;
  int32_t FPos = 1;   // 1-based index of the next character
  int32_t FLine = 1;
};

// Decodes the HTML character references amp, apos, lt, gt, quot and the
// numeric "&#" forms; any other "&" stays as written.
std::u16string DecodeHtmlEntities(const std::u16string& s);

}  // namespace mirelon
