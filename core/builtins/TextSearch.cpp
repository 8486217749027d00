// Text builtins that search and compare: occurrences with or without case,
// replacement and removal, regular expressions and the similarity test.
#include <memory>
#include <vector>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "core/AbortableRegex.h"
#include "core/builtins/TextBuiltins.h"

namespace mirelon::texts {

namespace {

using TV = TMirelonValue;

// Simple Unicode case folding of each code point (É and é fold alike). A
// code point whose folding would change its number of code units is kept,
// so the folded text has the original's length and its positions.
std::u16string FoldCase(TMirelon& M, std::u16string_view s) {
  std::u16string r(s);
  const int32_t n = static_cast<int32_t>(r.size());
  for (int32_t i = 0; i < n;) {
    if ((i & 0xFFFF) == 0) M.CheckAbort();
    const int32_t start = i;
    UChar32 c;
    U16_NEXT(r.data(), i, n, c);
    UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (f == c || U16_LENGTH(f) != i - start) continue;
    if (U16_LENGTH(f) == 1) {
      r[start] = static_cast<char16_t>(f);
    } else {
      r[start] = U16_LEAD(f);
      r[start + 1] = U16_TRAIL(f);
    }
  }
  return r;
}

// `text` with every occurrence of `pattern` found in `haystack` (the text
// itself, or its folded form of the same length) replaced by `with`.
TMirelonText ReplaceAll(TMirelon& M, std::u16string_view text, std::u16string_view haystack,
                        std::u16string_view pattern, std::u16string_view with) {
  TMirelonText out;  // Append refuses to pass the text limit before growing
  size_t rest = ForEachOccurrence(M, haystack, pattern, [&](size_t from, size_t at) {
    out.Append(text.substr(from, at - from));
    out.Append(with);
  });
  out.Append(text.substr(rest));
  return out;
}

// "commence_par" and "termine_par": the start or end of texte against the
// affix, case folded.
void HasAffix(TMirelon& M, TBuiltinArgs& A, TV& R, const char16_t* countMessage, bool atEnd) {
  RequireCountNoLine(A, 2, countMessage);
  std::u16string t = M.ValToText(A[0]);
  std::u16string affix = M.ValToText(A[1]);
  if (affix.size() > t.size()) {
    R = TV::BoolVal(false);
    return;
  }
  std::u16string_view part = std::u16string_view(t).substr(atEnd ? t.size() - affix.size() : 0, affix.size());
  R = TV::BoolVal(FoldCase(M, part) == FoldCase(M, affix));
}

// Levenshtein distance over code units, two rows of the table at a time.
// A common prefix and suffix never change the distance, so they are skipped.
size_t EditDistance(TMirelon& M, std::u16string_view a, std::u16string_view b) {
  while (!a.empty() && !b.empty() && a.front() == b.front()) a.remove_prefix(1), b.remove_prefix(1);
  while (!a.empty() && !b.empty() && a.back() == b.back()) a.remove_suffix(1), b.remove_suffix(1);
  if (a.size() < b.size()) std::swap(a, b);  // the rows follow the shorter text
  std::vector<size_t> prev(b.size() + 1), cur(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) prev[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    M.CheckAbort();
    cur[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t edit = std::min(prev[j], cur[j - 1]) + 1;  // deletion or insertion
      cur[j] = std::min(edit, prev[j - 1] + (a[i - 1] != b[j - 1]));
    }
    std::swap(prev, cur);
  }
  return prev[b.size()];
}

// ---- regular expressions ----

// Bounds on one search, so that a pattern that backtracks without end
// (such as (a+)+$ on a long text) fails quickly instead of hanging the run.
constexpr uint32_t kRegexMatchLimit = 1000000;
constexpr uint32_t kRegexHeapLimitKiB = 64 * 1024;

struct TRegexFree {
  void operator()(pcre2_code* p) const { pcre2_code_free(p); }
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
template <class T>
using TRegexPtr = std::unique_ptr<T, TRegexFree>;

[[noreturn]] void RegexFail(std::u16string_view pattern, int errorCode) {
  PCRE2_UCHAR buffer[256];
  int n = pcre2_get_error_message(errorCode, buffer, std::size(buffer));
  std::u16string message(reinterpret_cast<const char16_t*>(buffer), n > 0 ? n : 0);
  throw EMirelonError::CreateFmt(u"expression : pattern invalide \"%s\" (%s)", {pattern, message});
}

TRegexPtr<pcre2_code> CompileRegex(std::u16string_view pattern) {
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  TRegexPtr<pcre2_code> code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                           PCRE2_CASELESS | kAbortableRegexOptions, &errorCode, &errorOffset,
                                           nullptr));
  if (!code) RegexFail(pattern, errorCode);
  return code;
}

// Every match of pattern in text, in order. After an empty match the next
// search refuses an empty match at the same place, so it always moves on.
IMirelonArray AllMatches(TMirelon& M, std::u16string_view pattern, std::u16string_view text) {
  TRegexPtr<pcre2_code> code = CompileRegex(pattern);
  TAbortableMatch search(M);
  TRegexPtr<pcre2_match_data> data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
  if (!data) RegexFail(pattern, PCRE2_ERROR_NOMEMORY);
  pcre2_set_match_limit(search.Context(), kRegexMatchLimit);
  pcre2_set_heap_limit(search.Context(), kRegexHeapLimitKiB);

  IMirelonArray matches = TMirelonArray::New();
  PCRE2_SIZE offset = 0;
  uint32_t options = 0;
  for (;;) {
    M.CheckAbort();
    int rc = search.Match(code.get(), text, offset, options, data.get());
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) RegexFail(pattern, rc);
    const PCRE2_SIZE* span = pcre2_get_ovector_pointer(data.get());
    matches->Add(TV::Text(std::u16string(text.substr(span[0], span[1] - span[0]))));
    options = span[0] == span[1] ? PCRE2_NOTEMPTY_ATSTART : 0;
    offset = span[1];
  }
  return matches;
}

}  // namespace

size_t FindTextInWindows(TMirelon& M, std::u16string_view text, std::u16string_view pattern, size_t from) {
  const size_t window = std::max<size_t>(1, kComparisonsPerWindow / pattern.size());
  for (size_t start = from; start < text.size() && text.size() - start >= pattern.size(); start += window) {
    M.CheckAbort();
    // The places start .. start + window - 1, each with the code units it is compared over.
    size_t at = text.substr(start, window + pattern.size() - 1).find(pattern);
    if (at != std::u16string_view::npos) return start + at;
  }
  return std::u16string_view::npos;
}

void Contient(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCount(M, A, 2, u"contient(x, y) attend 2 arguments");
  const TV& x = A[0];
  if (x.Kind == lvkText) {
    std::u16string y = M.ValToText(A[1]);
    R = TV::BoolVal(!y.empty() && FindText(M, FoldCase(M, x.Str.str()), FoldCase(M, y)) != std::u16string::npos);
  } else if (x.Kind == lvkArray) {
    bool found = false;
    if (x.Arr)
      for (const TV& item : x.Arr->Items()) {
        M.CheckAbort();
        if ((found = M.ValuesEqual(item, A[1]))) break;
      }
    R = TV::BoolVal(found);
  } else {
    FailNoLine(u"contient attend un texte ou un tableau en premier argument");
  }
}

void Remplacer(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 3, u"remplacer(texte, ancien, nouveau) attend 3 arguments");
  std::u16string t = M.ValToText(A[0]);
  std::u16string before = M.ValToText(A[1]);
  std::u16string after = M.ValToText(A[2]);
  R = TV::Text(ReplaceAll(M, t, t, before, after));
}

void Retirer(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 2, u"retirer(texte, motif) attend 2 arguments");
  std::u16string t = M.ValToText(A[0]);
  std::u16string motif = M.ValToText(A[1]);
  R = TV::Text(ReplaceAll(M, t, FoldCase(M, t), FoldCase(M, motif), u""));
}

void CommencePar(TMirelon& M, TBuiltinArgs& A, TV& R) {
  HasAffix(M, A, R, u"commence_par(texte, prefixe) attend 2 arguments", false);
}

void TerminePar(TMirelon& M, TBuiltinArgs& A, TV& R) {
  HasAffix(M, A, R, u"termine_par(texte, suffixe) attend 2 arguments", true);
}

void Compter(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 2, u"compter(texte, motif) attend 2 arguments");
  std::u16string t = AsciiUpper(M.ValToText(A[0]));
  std::u16string motif = AsciiUpper(M.ValToText(A[1]));
  int64_t count = 0;
  ForEachOccurrence(M, t, motif, [&](size_t, size_t) { ++count; });
  R = TV::Number(static_cast<double>(count));
}

void Position(TMirelon& M, TBuiltinArgs& A, TV& R) {
  if (A.size() != 2 && A.size() != 3) FailNoLine(u"position(motif, chaine) ou position(motif, chaine, depart)");
  std::u16string motif = AsciiUpper(M.ValToText(A[0]));
  std::u16string chaine = AsciiUpper(M.ValToText(A[1]));
  size_t start = A.size() == 3 ? std::max(Int32Arg(M, A[2]), 1) - 1 : 0;
  size_t at = motif.empty() ? std::u16string::npos : FindText(M, chaine, motif, start);
  R = TV::Number(at == std::u16string::npos ? 0 : static_cast<double>(at + 1));
}

void Expression(TMirelon& M, TBuiltinArgs& A, TV& R) {
  RequireCountNoLine(A, 2, u"expression(pattern, texte) attend 2 arguments");
  std::u16string pattern = M.ValToText(A[0]);
  std::u16string text = M.ValToText(A[1]);
  R = TV::ArrayVal(AllMatches(M, pattern, text));
}

void Similaire(TMirelon& M, TBuiltinArgs& A, TV& R) {
  if (A.size() != 2 && A.size() != 3) M.Fail(u"similaire(texte1, texte2 [, seuil]) attend 2 ou 3 arguments");
  std::u16string a = AsciiLower(Trim(M.ValToText(A[0])));
  std::u16string b = AsciiLower(Trim(M.ValToText(A[1])));
  double threshold = 0.8;
  if (A.size() == 3) {
    threshold = M.ToNumber(A[2]);
    if (!(threshold >= 0 && threshold <= 1)) M.Fail(u"similaire : le seuil doit être compris entre 0 et 1");
  }
  if (a.empty() && b.empty()) {
    R = TV::BoolVal(true);
    return;
  }
  double longest = static_cast<double>(std::max(a.size(), b.size()));
  R = TV::BoolVal(1.0 - static_cast<double>(EditDistance(M, a, b)) / longest >= threshold);
}

}  // namespace mirelon::texts
