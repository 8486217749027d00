#include "core/builtins/SvgImage.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AbortableRegex.h"
#include "core/Interpreter.h"

namespace mirelon {

namespace {

// A compiled pattern; matching is thread-safe (each call has its own match
// data) and stops when the run is aborted.
class TSvgRegex {
 public:
  TSvgRegex(std::u16string_view pattern, bool caseless) {
    int code = 0;
    PCRE2_SIZE offset = 0;
    FCode = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                          (caseless ? PCRE2_CASELESS : 0) | kAbortableRegexOptions, &code, &offset, nullptr);
  }
  ~TSvgRegex() { pcre2_code_free(FCode); }
  TSvgRegex(const TSvgRegex&) = delete;
  TSvgRegex& operator=(const TSvgRegex&) = delete;

  // The span of the whole match (group 0) or of group `group` of the first
  // match at or after `start`; false when there is none.
  bool Find(TMirelon& M, std::u16string_view s, size_t start, std::pair<size_t, size_t>& span, int group = 0) const {
    std::unique_ptr<pcre2_match_data, void (*)(pcre2_match_data*)> data(
        pcre2_match_data_create_from_pattern(FCode, nullptr), pcre2_match_data_free);
    int rc = TAbortableMatch(M).Match(FCode, s, start, 0, data.get());
    bool found = rc > group;
    if (found) {
      PCRE2_SIZE* v = pcre2_get_ovector_pointer(data.get());
      span = {v[2 * group], v[2 * group + 1]};
    }
    // A pathological file can exhaust the engine's match limit: refuse it clearly.
    if (rc < 0 && rc != PCRE2_ERROR_NOMATCH) throw EMirelonError(u"SVG trop complexe à analyser");
    return found;
  }

  // The parts of s between the matches of the pattern.
  std::vector<std::u16string> Split(TMirelon& M, std::u16string_view s) const {
    std::vector<std::u16string> parts;
    size_t pos = 0;
    std::pair<size_t, size_t> m;
    while (Find(M, s, pos, m) && m.second > m.first) {
      parts.emplace_back(s.substr(pos, m.first - pos));
      pos = m.second;
    }
    parts.emplace_back(s.substr(pos));
    return parts;
  }

 private:
  pcre2_code* FCode = nullptr;
};

const TSvgRegex& Pattern(int which) {
  static const TSvgRegex patterns[] = {
    {u"<svg\\b[^>]*>", true},
    {u"</svg\\s*>", true},
    {u"viewBox\\s*=\\s*\"([^\"]*)\"", false},
    {u"[\\s,]+", false},
    {u"width\\s*=\\s*\"?([\\d.]+)", false},
    {u"height\\s*=\\s*\"?([\\d.]+)", false},
  };
  return patterns[which];
}

enum { rxSvgOpen, rxSvgClose, rxViewBox, rxSeparators, rxWidth, rxHeight };

// When the tag matches `which`, its group 1 read as a number literal goes to `out`.
void AttributeNumber(TMirelon& M, int which, std::u16string_view tag, double& out) {
  std::pair<size_t, size_t> g;
  if (Pattern(which).Find(M, tag, 0, g, 1)) out = ParseNumberLiteral(tag.substr(g.first, g.second - g.first));
}

// s without every span from Open (ASCII case ignored) to the first Close
// after it: the XML declaration, the doctype and the comments. A plain scan
// rather than a lazy pattern, which would rescan the rest of the text from
// every unclosed opening and take quadratic time.
std::u16string RemoveDelimited(TMirelon& M, std::u16string_view s, std::u16string_view Open,
                               std::u16string_view Close) {
  std::u16string r;
  size_t pos = 0;
  while (pos < s.size()) {
    M.CheckAbort();
    size_t open = pos;
    while (open + Open.size() <= s.size() && !SameAsciiCase(s.substr(open, Open.size()), Open)) ++open;
    if (open + Open.size() > s.size()) break;
    size_t close = s.find(Close, open + Open.size());
    if (close == std::u16string_view::npos) break;  // no later opening can be closed either
    r.append(s.substr(pos, open - pos));
    pos = close + Close.size();
  }
  r.append(s.substr(pos));
  return r;
}

}  // namespace

TSvgImage ReadSvgImage(TMirelon& M, const std::u16string& S, const std::u16string& F, const std::u16string& P) {
  std::u16string text = RemoveDelimited(
      M, RemoveDelimited(M, RemoveDelimited(M, S, u"<?xml", u"?>"), u"<!DOCTYPE", u">"), u"<!--", u"-->");
  std::pair<size_t, size_t> open;
  // The opening tag ends at a ">": the search stops at the last one, so it
  // never scans to the end of the text from every "<svg" that has none.
  std::u16string_view tagged = std::u16string_view(text).substr(0, text.rfind(u'>') + 1);
  if (!Pattern(rxSvgOpen).Find(M, tagged, 0, open)) M.FailFmt(P + u"\"%s\" ne contient pas de balise <svg>", {F});
  std::u16string_view tag = std::u16string_view(text).substr(open.first, open.second - open.first);

  TSvgImage image;
  std::pair<size_t, size_t> box;
  if (Pattern(rxViewBox).Find(M, tag, 0, box, 1)) {
    std::vector<std::u16string> parts = Pattern(rxSeparators).Split(M, Trim(tag.substr(box.first, box.second - box.first)));
    if (parts.size() == 4) {
      image.Width = ParseNumberLiteral(parts[2]);
      image.Height = ParseNumberLiteral(parts[3]);
    }
  }
  if (!(image.Width > 0) || !(image.Height > 0)) {
    AttributeNumber(M, rxWidth, tag, image.Width);
    AttributeNumber(M, rxHeight, tag, image.Height);
  }

  std::u16string_view body = std::u16string_view(text).substr(open.second);
  std::pair<size_t, size_t> close;
  if (Pattern(rxSvgClose).Find(M, body, 0, close)) body = body.substr(0, close.first);
  image.Body.assign(body);
  for (char16_t& c : image.Body)
    if (c == u'\r' || c == u'\n') c = u' ';
  return image;
}

}  // namespace mirelon
