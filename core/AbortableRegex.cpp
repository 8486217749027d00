#include "core/AbortableRegex.h"

#include <new>

#include "core/Interpreter.h"

namespace mirelon {

namespace {

// Called before each item of the pattern; a negative answer ends the search.
int StopWhenAborted(pcre2_callout_block*, void* M) {
  return static_cast<const TMirelon*>(M)->AbortRequested() ? PCRE2_ERROR_CALLOUT : 0;
}

}  // namespace

TAbortableMatch::TAbortableMatch(TMirelon& M) : FM(M), FContext(pcre2_match_context_create(nullptr)) {
  if (!FContext) throw std::bad_alloc();
  pcre2_set_callout(FContext, StopWhenAborted, &FM);
}

TAbortableMatch::~TAbortableMatch() { pcre2_match_context_free(FContext); }

int TAbortableMatch::Match(const pcre2_code* Code, std::u16string_view Subject, size_t Offset, uint32_t Options,
                           pcre2_match_data* Data) {
  int rc = pcre2_match(Code, reinterpret_cast<PCRE2_SPTR>(Subject.data()), Subject.size(), Offset, Options, Data,
                       FContext);
  if (rc == PCRE2_ERROR_CALLOUT) FM.CheckAbort();
  return rc;
}

}  // namespace mirelon
