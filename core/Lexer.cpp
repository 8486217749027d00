#include "core/Lexer.h"

#include <array>

#include "core/Errors.h"
#include "core/Text.h"

namespace mirelon {

const TKeywordTable& KeywordTable() {
  static const TKeywordTable table = [] {
    TKeywordTable t(50);
    const std::pair<const char16_t*, TMirelonTokenType> entries[] = {
        {u"est", ttEst},         {u"un", ttUn},           {u"une", ttUne},           {u"tableau", ttTableau},
        {u"vaut", ttVaut},       {u"ajoute", ttAjoute},   {u"soustrait", ttSoustrait}, {u"supprime", ttSupprime},
        {u"vide", ttVide},       {u"affiche", ttAffiche}, {u"deboguer", ttDeboguer}, {u"déboguer", ttDeboguer},
        {u"couleur", ttCouleur}, {u"html", ttHtml},       {u"demande", ttDemande},   {u"choisir", ttChoisir},
        {u"appuyer", ttAppuyer}, {u"arrete", ttArrete},   {u"arrête", ttArrete},     {u"continue", ttContinue},
        {u"terminer", ttTerminer}, {u"si", ttSi},         {u"alors", ttAlors},       {u"sinon", ttSinon},
        {u"selon", ttSelon},     {u"cas", ttCas},         {u"tant", ttTantQue},      {u"répète", ttRepete},
        {u"repete", ttRepete},   {u"fois", ttFois},       {u"essayer", ttEssayer},   {u"attraper", ttAttraper},
        {u"pour", ttPour},       {u"de", ttDe},           {u"pas", ttPas},           {u"a", ttA},
        {u"à", ttA},             {u"dans", ttDans},       {u"fonction", ttFonction}, {u"procédure", ttProcedure},
        {u"procedure", ttProcedure}, {u"retourne", ttRetourne}, {u"appelle", ttAppelle}, {u"et", ttEt},
        {u"ou", ttOu},           {u"non", ttNon},         {u"mod", ttMod},           {u"constante", ttConst},
        {u"classe", ttClasse}};
    for (auto& [word, type] : entries) t.emplace(word, type);
    return t;
  }();
  return table;
}

TMirelonTokenType LookupKeyword(std::u16string_view word) {
  char16_t lower[12];  // longer than every keyword
  if (word.size() > std::size(lower)) return ttIdentifiant;
  for (size_t i = 0; i < word.size(); ++i)
    lower[i] = word[i] >= u'A' && word[i] <= u'Z' ? static_cast<char16_t>(word[i] + 32) : word[i];
  auto& table = KeywordTable();
  auto it = table.find(std::u16string_view(lower, word.size()));
  return it == table.end() ? ttIdentifiant : it->second;
}

std::u16string TokenTypeName(TMirelonTokenType t) {
  static const std::array<const char16_t*, kTokenTypeCount> names = {
      u"un nombre", u"un texte", u"un identifiant", u"est", u"un", u"une", u"tableau", u"vaut", u"ajoute",
      u"soustrait", u"supprime", u"vide", u"affiche", u"demande", u"choisir", u"appuyer", u"dans", u"constante",
      u"si", u"alors", u"sinon", u"sinon si", u"fin si", u"tant que", u"fin tant que", u"répète", u"fois",
      u"fin répète", u"pour", u"de", u"à", u"pas", u"fin pour", u"selon", u"cas", u"sinon selon", u"fin selon",
      u"\":\"", u"arrête", u"continue", u"terminer", u"essayer", u"attraper", u"fin essayer", u"fonction",
      u"fin fonction", u"procédure", u"fin procédure", u"retourne", u"appelle", u"et", u"ou", u"non", u"\"=\"",
      u"\"<>\"", u"\"<\"", u"\">\"", u"\"<=\"", u"\">=\"", u"\"+\"", u"\"-\"", u"\"*\"", u"\"/\"", u"modulo",
      // "^", "classe" and "fin classe" are named like the other symbols and
      // keywords so that a missing "fin classe" is reported readably.
      u"\"^\"", u"\"(\"", u"\")\"", u"\"[\"", u"\"]\"", u"\",\"", u"couleur", u"html", u"déboguer", u"classe",
      u"fin classe", u"une fin de ligne", u"la fin du programme", u"\".\"", nullptr};
  const char16_t* n = t < kTokenTypeCount ? names[t] : nullptr;
  return n ? n : u"élément inconnu";
}

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsWordStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || (c >= 192 && c <= 255);
}
bool IsWordChar(char16_t c) { return IsWordStart(c) || IsDigit(c); }

TMirelonToken MakeToken(TMirelonTokenType type, std::u16string value, int line) {
  TMirelonToken t;
  t.TokenType = type;
  t.Value = std::move(value);
  t.Line = line;
  return t;
}

}  // namespace

TMirelonLexer::TMirelonLexer(std::u16string source) : FSource(std::move(source)) {}

char16_t TMirelonLexer::Peek() const { return PeekAt(0); }

char16_t TMirelonLexer::PeekAt(int k) const {
  size_t i = static_cast<size_t>(FPos - 1 + k);
  return i < FSource.size() ? FSource[i] : u'\0';
}

void TMirelonLexer::Advance() {
  if (static_cast<size_t>(FPos - 1) >= FSource.size()) return;
  if (FSource[FPos - 1] == u'\n') ++FLine;
  ++FPos;
}

void TMirelonLexer::SkipBlanks() {
  while (Peek() == u' ' || Peek() == u'\t' || Peek() == u'\r') Advance();
}

TMirelonToken TMirelonLexer::ReadString(int) {
  char16_t quote = Peek();
  Advance();
  std::u16string text;
  while (Peek() != u'\0') {
    char16_t c = Peek();
    if (c == quote && PeekAt(1) == quote) {
      text += quote;
      Advance();
      Advance();
    } else if (c == quote) {
      Advance();
      break;
    } else {
      text += c;
      Advance();
    }
  }
  return MakeToken(ttTexte, std::move(text), FLine);
}

TMirelonToken TMirelonLexer::ReadNumber(int line) {
  std::u16string digits;
  while (IsDigit(Peek())) {
    digits += Peek();
    Advance();
  }
  if ((Peek() == u'.' || Peek() == u',') && IsDigit(PeekAt(1))) {
    digits += u'.';
    Advance();
    while (IsDigit(Peek())) {
      digits += Peek();
      Advance();
    }
  }
  return MakeToken(ttNombre, std::move(digits), line);
}

std::u16string TMirelonLexer::ReadIdentifier() {
  size_t start = static_cast<size_t>(FPos - 1);
  while (IsWordChar(Peek())) Advance();
  return FSource.substr(start, static_cast<size_t>(FPos - 1) - start);
}

// A word, with the two-word keywords "fin …", "tant que" and "sinon si/selon".
// The second word must stand on the same line; when it does not fit, the
// position is restored and the second word is read as a token of its own.
TMirelonToken TMirelonLexer::ReadWord(int line) {
  std::u16string word = ReadIdentifier();
  int32_t savedPos = FPos, savedLine = FLine;
  auto restore = [&] {
    FPos = savedPos;
    FLine = savedLine;
  };
  auto nextWord = [&]() -> std::u16string {
    SkipBlanks();
    return IsWordStart(Peek()) ? AsciiLower(ReadIdentifier()) : std::u16string();
  };

  if (SameAsciiCase(word, u"fin")) {
    static const std::pair<const char16_t*, TMirelonTokenType> ends[] = {
        {u"si", ttFinSi},           {u"repete", ttFinRepete},       {u"répète", ttFinRepete},
        {u"pour", ttFinPour},       {u"fonction", ttFinFonction},   {u"procedure", ttFinProcedure},
        {u"procédure", ttFinProcedure}, {u"selon", ttFinSelon},     {u"essayer", ttFinEssayer},
        {u"classe", ttFinClasse}};
    std::u16string second = nextWord();
    if (second == u"tant" && nextWord() == u"que") return MakeToken(ttFinTantQue, u"fin tant que", line);
    for (auto& [w, type] : ends)
      if (second == w) return MakeToken(type, TokenTypeName(type), line);
    restore();
    return MakeToken(ttInconnu, u"fin", line);
  }
  if (SameAsciiCase(word, u"tant")) {
    if (nextWord() == u"que") return MakeToken(ttTantQue, u"tant que", line);
    restore();
    return MakeToken(ttIdentifiant, std::move(word), line);
  }
  TMirelonTokenType type = LookupKeyword(word);
  if (type == ttSinon) {
    std::u16string second = nextWord();
    if (second == u"selon") return MakeToken(ttSinonSelon, u"sinon selon", line);
    if (second == u"si") return MakeToken(ttSinonSi, u"sinon si", line);
    restore();
  }
  return MakeToken(type, std::move(word), line);
}

// "U+" followed by one to six hex digits: the character of that code.
bool TMirelonLexer::ReadUnicodeEscape(int line, TMirelonToken& tok) {
  int32_t savedPos = FPos, savedLine = FLine;
  Advance();
  Advance();
  std::u16string hex;
  while (IsHexDigit(Peek()) && hex.size() <= 6) {
    hex += Peek();
    Advance();
  }
  if (hex.empty() || hex.size() > 6) {
    FPos = savedPos;
    FLine = savedLine;
    return false;
  }
  uint32_t code = std::stoul(Utf16ToUtf8(hex), nullptr, 16);
  if (code > 0x10FFFF)
    throw EMirelonError::CreateFmtAtLine(line, u"U+%s : code Unicode hors limites (max U+10FFFF)", {hex});
  if (code >= 0xD800 && code <= 0xDFFF)
    throw EHostError(
        u"Valeur caractère UTF32 non valide.  Doit être >= 0 et <= $10FFFF, à l'exception des plages de paires de "
        u"substitution");
  std::u16string ch;
  if (code >= 0x10000) {
    ch += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    ch += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
  } else {
    ch += static_cast<char16_t>(code);
  }
  tok = MakeToken(ttTexte, std::move(ch), line);
  return true;
}

TMirelonToken TMirelonLexer::NextToken() {
  for (;;) {
    SkipBlanks();
    int line = FLine;
    char16_t ch = Peek();
    if (ch == u'\0') return MakeToken(ttEOF, u"", line);  // also a NUL character: the text ends there
    if (ch == u'\n') {
      Advance();
      return MakeToken(ttEOL, u"EOL", line);
    }
    if (ch == u'/' && PeekAt(1) == u'/') {
      while (Peek() != u'\n' && Peek() != u'\0') Advance();
      continue;
    }
    if (ch == u'{') {
      Advance();
      while (Peek() != u'\0' && Peek() != u'}') Advance();
      Advance();
      continue;
    }
    if (ch == u'\'' || ch == u'"') return ReadString(line);
    if (ch == u'$' || ch == u'#') {
      Advance();
      int32_t afterMark = FPos;
      std::u16string hex;
      while (IsHexDigit(Peek())) {
        hex += Peek();
        Advance();
      }
      if (ch == u'$') return hex.empty() ? MakeToken(ttInconnu, u"$", line) : MakeToken(ttNombre, u"$" + hex, line);
      if (hex == u"0" || hex.size() == 6) return MakeToken(ttTexte, u"#" + hex, line);
      FPos = afterMark;  // "#65" is a character code: the parser reads the number
      return MakeToken(ttInconnu, u"#", line);
    }
    if ((ch == u'U' || ch == u'u') && PeekAt(1) == u'+' && IsHexDigit(PeekAt(2))) {
      TMirelonToken tok;
      if (ReadUnicodeEscape(line, tok)) return tok;
    }
    if (IsDigit(ch)) return ReadNumber(line);
    if (IsWordStart(ch)) return ReadWord(line);

    Advance();
    switch (ch) {
      case u'+': return MakeToken(ttPlus, u"+", line);
      case u'-': return MakeToken(ttMoins, u"-", line);
      case u'*': return MakeToken(ttEtoile, u"*", line);
      case u'/': return MakeToken(ttSlash, u"/", line);
      case u'^': return MakeToken(ttExposant, u"^", line);
      case u'%': return MakeToken(ttMod, u"%", line);
      case u'(': return MakeToken(ttParOuv, u"(", line);
      case u')': return MakeToken(ttParFerm, u")", line);
      case u'[': return MakeToken(ttCroOuv, u"[", line);
      case u']': return MakeToken(ttCroFerm, u"]", line);
      case u',': return MakeToken(ttVirgule, u",", line);
      case u':': return MakeToken(ttDeuxPoints, u":", line);
      case u'.': return MakeToken(ttDot, u".", line);
      case u'=': return MakeToken(ttEgal, u"=", line);
      case u'<':
        if (Peek() == u'>') return Advance(), MakeToken(ttDifferent, u"<>", line);
        if (Peek() == u'=') return Advance(), MakeToken(ttInfEgal, u"<=", line);
        return MakeToken(ttInferieur, u"<", line);
      case u'>':
        if (Peek() == u'=') return Advance(), MakeToken(ttSupEgal, u">=", line);
        return MakeToken(ttSuperieur, u">", line);
      default: return MakeToken(ttInconnu, std::u16string(1, ch), line);
    }
  }
}

// ---- the comparison-phrase pass ----

namespace {

// A character in ASCII lower case with the French accents of lower-case
// letters removed.
char16_t FoldChar(char16_t c) {
  switch (c) {
    case u'à': case u'á': case u'â': case u'ä': return u'a';
    case u'ç': return u'c';
    case u'è': case u'é': case u'ê': case u'ë': return u'e';
    case u'î': case u'ï': return u'i';
    case u'ô': case u'ö': return u'o';
    case u'ù': case u'û': case u'ü': return u'u';
    default: return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  }
}

// Whether the folded form of `value` is `word` (an ASCII lower-case word).
bool FoldsTo(std::u16string_view value, std::u16string_view word) {
  if (value.size() != word.size()) return false;
  for (size_t i = 0; i < value.size(); ++i)
    if (FoldChar(value[i]) != word[i]) return false;
  return true;
}

using TWordSet = std::initializer_list<const char16_t*>;
struct TPhrase {
  std::initializer_list<TWordSet> Words;
  TMirelonTokenType Type;
  const char16_t* Symbol;
};

// First match wins, so longer phrases come before their prefixes.
const TPhrase kPhrases[] = {
    {{{u"plus"}, {u"petit"}, {u"ou"}, {u"egal"}, {u"a"}}, ttInfEgal, u"<="},
    {{{u"plus"}, {u"petit"}, {u"que", u"a"}}, ttInferieur, u"<"},
    {{{u"plus"}, {u"petit"}}, ttInferieur, u"<"},
    {{{u"plus"}, {u"grand"}, {u"ou"}, {u"egal"}, {u"a"}}, ttSupEgal, u">="},
    {{{u"plus"}, {u"grand"}, {u"que", u"a"}}, ttSuperieur, u">"},
    {{{u"plus"}, {u"grand"}}, ttSuperieur, u">"},
    {{{u"inferieur"}, {u"ou"}, {u"egal"}, {u"a"}}, ttInfEgal, u"<="},
    {{{u"inferieur"}, {u"a", u"que"}}, ttInferieur, u"<"},
    {{{u"inferieur"}}, ttInferieur, u"<"},
    {{{u"superieur"}, {u"ou"}, {u"egal"}, {u"a"}}, ttSupEgal, u">="},
    {{{u"superieur"}, {u"a", u"que"}}, ttSuperieur, u">"},
    {{{u"superieur"}}, ttSuperieur, u">"},
    {{{u"different", u"differente"}, {u"de", u"a", u"que"}}, ttDifferent, u"<>"},
    {{{u"different", u"differente"}}, ttDifferent, u"<>"},
    {{{u"egal", u"egale"}, {u"a", u"que"}}, ttEgal, u"="},
    {{{u"egal", u"egale"}}, ttEgal, u"="},
};
const TWordSet kAfterEst = {u"egal", u"egale", u"different", u"differente", u"inferieur", u"superieur", u"plus"};

bool InSet(const TMirelonToken* t, TWordSet set) {
  if (!t) return false;
  for (const char16_t* s : set)
    if (FoldsTo(t->Value, s)) return true;
  return false;
}

}  // namespace

std::vector<TMirelonToken> TMirelonLexer::Tokenize() {
  std::vector<TMirelonToken> raw;
  do raw.push_back(NextToken());
  while (raw.back().TokenType != ttEOF);

  // Text literals never take part in a phrase.
  auto word = [&](size_t i) -> const TMirelonToken* {
    return i < raw.size() && raw[i].TokenType != ttTexte ? &raw[i] : nullptr;
  };

  std::vector<TMirelonToken> out;
  out.reserve(raw.size());
  for (size_t p = 0; p < raw.size();) {
    const TPhrase* match = nullptr;
    // Every phrase starts with a word in p, i, s, d or e.
    const TMirelonToken* first = word(p);
    char16_t c = first && !first->Value.empty() ? FoldChar(first->Value[0]) : u'\0';
    bool candidate = c == u'p' || c == u'i' || c == u's' || c == u'd' || c == u'e';
    for (const TPhrase& ph : kPhrases) {
      if (!candidate) break;
      size_t k = 0;
      for (TWordSet set : ph.Words) {
        if (!InSet(word(p + k), set)) break;
        ++k;
      }
      if (k == ph.Words.size()) {
        match = &ph;
        break;
      }
    }
    if (match) {
      out.push_back(MakeToken(match->Type, match->Symbol, raw[p].Line));
      p += match->Words.size();
    } else if (raw[p].TokenType == ttEst && InSet(word(p + 1), kAfterEst)) {
      ++p;
    } else {
      out.push_back(std::move(raw[p]));
      ++p;
    }
  }
  return out;
}

// ---- HTML character references ----

std::u16string DecodeHtmlEntities(const std::u16string& s) {
  if (s.find(u'&') == std::u16string::npos) return s;
  static const std::pair<const char16_t*, char16_t> named[] = {
      {u"amp", u'&'}, {u"apos", u'\''}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}};
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'&') {
      out += s[i];
      continue;
    }
    size_t semi = s.find(u';', i + 1);
    if (semi == std::u16string::npos || semi - i > 12) {
      out += s[i];
      continue;
    }
    std::u16string_view name(s.data() + i + 1, semi - i - 1);
    bool done = false;
    for (auto& [n, c] : named)
      if (name == n) {
        out += c;
        done = true;
      }
    if (!done && name.size() >= 2 && name[0] == u'#') {
      bool hex = name[1] == u'x' || name[1] == u'X';
      std::u16string_view digits = name.substr(hex ? 2 : 1);
      uint32_t code = 0;
      bool ok = !digits.empty();
      for (char16_t c : digits) {
        if (!(hex ? IsHexDigit(c) : IsDigit(c))) ok = false;
        if (!ok) break;
        code = code * (hex ? 16 : 10) + (IsDigit(c) ? c - u'0' : (c | 0x20) - u'a' + 10);
        if (code > 0x10FFFF) ok = false;
      }
      if (ok) {
        if (code >= 0x10000) {
          out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
          out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
          out += static_cast<char16_t>(code);
        }
        done = true;
      }
    }
    if (done) i = semi;
    else out += s[i];
  }
  return out;
}

}  // namespace mirelon
