// Text builtins: length, ASCII case, cutting and joining, character codes,
// filters and accent folding. Positions are 1-based and count UTF-16 code
// units. Search and comparison builtins live in TextSearch.cpp.
#include "core/builtins/TextBuiltins.h"

namespace mirelon {

using namespace texts;

namespace {

using TV = TMirelonValue;

// One text argument turned into one text result; `atLine` tells whether the
// count message carries the current line.
void MapText(TMirelon& M, TBuiltinArgs& A, TV& R, const char16_t* countMessage, bool atLine,
             std::u16string (*f)(std::u16string_view)) {
  if (atLine) RequireCount(M, A, 1, countMessage);
  else RequireCountNoLine(A, 1, countMessage);
  R = TV::Text(f(M.ValToText(A[0])));
}

template <class Pred>
std::u16string KeepIf(std::u16string_view s, Pred keep) {
  std::u16string r;
  for (char16_t c : s)
    if (keep(c)) r += c;
  return r;
}

std::u16string Reversed(std::u16string_view s) { return std::u16string(s.rbegin(), s.rend()); }
std::u16string Digits(std::u16string_view s) {
  return KeepIf(s, [](char16_t c) { return c >= u'0' && c <= u'9'; });
}
std::u16string Letters(std::u16string_view s) {
  return KeepIf(s, [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c <= 0xFF);
  });
}
std::u16string Capitalized(std::u16string_view s) {
  return s.empty() ? std::u16string() : AsciiUpper(s.substr(0, 1)) + AsciiLower(s.substr(1));
}

// What each character of U+00C0..U+00FF becomes; an empty entry keeps it
// (Å, Ð, Ñ, ×, Þ and their small forms have no plain-letter spelling here).
constexpr const char16_t* kAccentFolds[64] = {
    u"A", u"A", u"A", u"A", u"A", u"",  u"AE", u"C",   // À Á Â Ã Ä Å Æ Ç
    u"E", u"E", u"E", u"E", u"I", u"I", u"I",  u"I",   // È É Ê Ë Ì Í Î Ï
    u"",  u"",  u"O", u"O", u"O", u"O", u"O",  u"",    // Ð Ñ Ò Ó Ô Õ Ö ×
    u"O", u"U", u"U", u"U", u"U", u"Y", u"",   u"ss",  // Ø Ù Ú Û Ü Ý Þ ß
    u"a", u"a", u"a", u"a", u"a", u"",  u"ae", u"c",   // à á â ã ä å æ ç
    u"e", u"e", u"e", u"e", u"i", u"i", u"i",  u"i",   // è é ê ë ì í î ï
    u"",  u"",  u"o", u"o", u"o", u"o", u"o",  u"",    // ð ñ ò ó ô õ ö ÷
    u"o", u"u", u"u", u"u", u"u", u"y", u"",   u"y",   // ø ù ú û ü ý þ ÿ
};

std::u16string FoldAccents(std::u16string_view s) {
  std::u16string r;
  r.reserve(s.size());
  for (char16_t c : s) {
    const char16_t* fold = c >= 0xC0 && c <= 0xFF ? kAccentFolds[c - 0xC0] : u"";
    if (*fold) r += fold;
    else r += c;
  }
  return r;
}

void Majuscules(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"majuscules(texte) attend 1 argument", true, AsciiUpper);
}
void Minuscules(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"minuscules(texte) attend 1 argument", true, AsciiLower);
}
void Inverser(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"inverser(texte) attend 1 argument", true, Reversed);
}
void SupprimeEspace(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"supprime_espace(texte) attend 1 argument", false, Trim);
}
void MajusculeInitiale(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"majuscule_initiale(texte) attend 1 argument", false, Capitalized);
}
void Chiffres(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"chiffres(texte) attend 1 argument", true, Digits);
}
void Lettres(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"lettres(texte) attend 1 argument", true, Letters);
}
void Normaliser(TMirelon& M, TBuiltinArgs& A, TV& R) {
  MapText(M, A, R, u"normaliser(texte) attend 1 argument", true, FoldAccents);
}

void Longueur(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 1, u"longueur(x) attend 1 argument");
  const TV& x = A[0];
  if (x.Kind == lvkText) R = TV::Number(static_cast<double>(x.Str.size()));
  else if (x.Kind == lvkArray) R = TV::Number(x.Arr ? x.Arr->Count() : 0);
  else M.Fail(u"longueur attend un texte ou un tableau");
}

void HasardTexte(TMirelon& M, TBuiltinArgs& A, TV& R) {
  if (A.empty()) M.Fail(u"hasardtexte attend au moins un argument");
  R = TV::Text(M.ValToText(A[NextRandom(static_cast<uint32_t>(A.size()))]));
}

void RepeterTexte(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 2, u"repeter_texte(texte, n) attend 2 arguments");
  std::u16string t = M.ValToText(A[0]);
  int32_t n = Int32Arg(M, A[1]);
  if (n > 10000) M.Fail(u"repeter_texte: n trop grand (max 10000)");
  TMirelonText out;  // Append refuses to pass the text limit before growing
  for (int32_t i = 0; i < n; ++i) out.Append(t);
  R = TV::Text(std::move(out));
}

void Copier(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 3, u"copier(texte, debut, longueur) attend 3 arguments");
  std::u16string t = M.ValToText(A[0]);
  int64_t start = std::max(Int32Arg(M, A[1]), 1) - 1;
  int32_t count = Int32Arg(M, A[2]);
  if (count <= 0 || start >= static_cast<int64_t>(t.size())) R = TV::Text(std::u16string());
  else R = TV::Text(t.substr(start, count));
}

void Caractere(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 1, u"caractère(n) attend 1 argument");
  int64_t n = M.ToInteger(A[0]);
  if (n < 0 || n > 65535)
    M.FailFmt(u"caractère: code hors limites (%d). Intervalle autorisé: 0..65535", {static_cast<long long>(n)});
  R = TV::Text(std::u16string(1, static_cast<char16_t>(n)));
}

void Code(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 1, u"code(x) attend 1 argument");
  std::u16string t = M.ValToText(A[0]);
  if (t.empty()) M.Fail(u"code: texte vide");
  R = TV::Number(t[0]);
}

void Decouper(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 2, u"découper(texte, séparateur) attend 2 arguments");
  std::u16string t = M.ValToText(A[0]);
  std::u16string sep = M.ValToText(A[1]);
  IMirelonArray parts = TMirelonArray::New();
  std::u16string_view view(t);
  if (sep.empty()) {
    for (char16_t c : t) {
      M.CheckAbort();
      parts->Add(TV::Text(std::u16string(1, c)));
    }
  } else {
    size_t rest = ForEachOccurrence(M, t, sep, [&](size_t from, size_t at) {
      parts->Add(TV::Text(std::u16string(view.substr(from, at - from))));
    });
    parts->Add(TV::Text(std::u16string(view.substr(rest))));
  }
  R = TV::ArrayVal(std::move(parts));
}

void Insertion(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 3, u"insertion(texte, position, morceau) attend 3 arguments");
  std::u16string t = M.ValToText(A[0]);
  int64_t at = std::clamp<int64_t>(Int32Arg(M, A[1]), 1, static_cast<int64_t>(t.size()) + 1) - 1;
  std::u16string piece = M.ValToText(A[2]);
  std::u16string_view view(t);
  TMirelonText out;
  out.Append(view.substr(0, at));
  out.Append(piece);
  out.Append(view.substr(at));
  R = TV::Text(std::move(out));
}

void CompterMots(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 1, u"compter_mots(texte) attend 1 argument");
  std::u16string t = M.ValToText(A[0]);
  int64_t words = 0;
  bool inWord = false;
  for (char16_t c : t) {
    if (c > 32 && !inWord) ++words;
    inWord = c > 32;
  }
  R = TV::Number(static_cast<double>(words));
}

void Supprimer(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 2, u"supprimer(position, texte) attend 2 arguments");
  int32_t at = Int32Arg(M, A[0]);
  std::u16string t = M.ValToText(A[1]);
  if (at < 1 || at > static_cast<int64_t>(t.size()))
    M.FailFmt(u"supprimer: position hors limites (%d). Intervalle autorisé: 1..%d",
              {at, static_cast<long long>(t.size())});
  t.erase(at - 1, 1);
  R = TV::Text(std::move(t));
}

}  // namespace

std::span<const TBuiltinDef> TextBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"longueur", Longueur},
    {u"majuscules", Majuscules},
    {u"minuscules", Minuscules},
    {u"hasardtexte", HasardTexte},
    {u"contient", Contient},
    {u"remplacer", Remplacer},
    {u"inverser", Inverser},
    {u"supprime_espace", SupprimeEspace},
    {u"repeter_texte/répéter_texte", RepeterTexte},
    {u"commence_par", CommencePar},
    {u"termine_par", TerminePar},
    {u"compter", Compter},
    {u"position", Position},
    {u"copier", Copier},
    {u"caractere/caractère", Caractere},
    {u"code", Code},
    {u"decouper/découper", Decouper},
    {u"insertion", Insertion},
    {u"majuscule_initiale", MajusculeInitiale},
    {u"chiffres", Chiffres},
    {u"lettres", Lettres},
    {u"normaliser", Normaliser},
    {u"expression", Expression},
    {u"retirer", Retirer},
    {u"compter_mots", CompterMots},
    {u"similaire", Similaire},
    {u"supprimer", Supprimer},
  };
  return defs;
}

}  // namespace mirelon
