// libcurl, loaded by the first HTTPS request instead of being linked: linked,
// it would make every start of the program map and relocate the thirty or so
// libraries it depends on, which costs about 5 ms on each "mirelon run".
#pragma once

#include <curl/curl.h>

namespace mirelon {

struct TCurlLibrary {
  CURL* (*EasyInit)();
  CURLcode (*EasySetopt)(CURL*, CURLoption, ...);
  void (*EasyCleanup)(CURL*);
  const char* (*EasyStrerror)(CURLcode);
  curl_slist* (*SlistAppend)(curl_slist*, const char*);
  void (*SlistFreeAll)(curl_slist*);
  // The multi interface drives a transfer in short polls, so that a caller
  // can stop it between two of them.
  CURLM* (*MultiInit)();
  CURLMcode (*MultiAddHandle)(CURLM*, CURL*);
  CURLMcode (*MultiRemoveHandle)(CURLM*, CURL*);
  CURLMcode (*MultiPerform)(CURLM*, int*);
  CURLMcode (*MultiPoll)(CURLM*, curl_waitfd*, unsigned, int, int*);
  CURLMsg* (*MultiInfoRead)(CURLM*, int*);
  CURLMcode (*MultiCleanup)(CURLM*);
};

// The library, loaded and initialised once for the process (from any
// thread); raises EHttpsError when it cannot be loaded.
const TCurlLibrary& Curl();

}  // namespace mirelon
