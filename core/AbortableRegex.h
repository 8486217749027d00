// PCRE2 searches that a run's abort reaches. One search can take very long
// on a long text ("[^>]*>" tried from each of millions of places, or a
// pattern that backtracks), so the patterns of the language ("expression",
// the tag check of "html", the reading of SVG drawings) are compiled with
// automatic callouts, and every callout asks whether the run was aborted.
#pragma once

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 16
#endif
#include <pcre2.h>

#include <cstdint>
#include <string_view>

namespace mirelon {

class TMirelon;

// Added to the options of every pattern that TAbortableMatch runs.
constexpr uint32_t kAbortableRegexOptions = PCRE2_AUTO_CALLOUT;

// A match context whose callout stops the search once M's run is aborted.
class TAbortableMatch {
 public:
  explicit TAbortableMatch(TMirelon& M);
  ~TAbortableMatch();
  TAbortableMatch(const TAbortableMatch&) = delete;
  TAbortableMatch& operator=(const TAbortableMatch&) = delete;

  // For the limits a caller sets.
  pcre2_match_context* Context() const { return FContext; }
  // pcre2_match of Code on Subject from Offset; raises EMirelonAborted when
  // the abort stopped it, else returns what pcre2_match returned.
  int Match(const pcre2_code* Code, std::u16string_view Subject, size_t Offset, uint32_t Options,
            pcre2_match_data* Data);

 private:
  TMirelon& FM;
  pcre2_match_context* FContext;
};

}  // namespace mirelon
