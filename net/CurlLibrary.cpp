#include "net/CurlLibrary.h"

#include <dlfcn.h>

#include <string>

#include "net/HttpsClient.h"

#include "core/Text.h"

namespace mirelon {

namespace {

struct TLoaded {
  TCurlLibrary Api{};
  std::string Error;  // empty when Api is usable
};

template <class F>
void Bind(void* library, const char* name, F& slot, std::string& error) {
  slot = reinterpret_cast<F>(dlsym(library, name));
  if (!slot && error.empty()) error = std::string("fonction ") + name + " absente";
}

TLoaded Load() {
  TLoaded r;
  // The library stays loaded until the process ends, as a linked one would.
  void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    r.Error = why ? why : "libcurl.so.4 introuvable";
    return r;
  }
  CURLcode (*globalInit)(long) = nullptr;
  Bind(library, "curl_global_init", globalInit, r.Error);
  Bind(library, "curl_easy_init", r.Api.EasyInit, r.Error);
  Bind(library, "curl_easy_setopt", r.Api.EasySetopt, r.Error);
  Bind(library, "curl_easy_cleanup", r.Api.EasyCleanup, r.Error);
  Bind(library, "curl_easy_strerror", r.Api.EasyStrerror, r.Error);
  Bind(library, "curl_slist_append", r.Api.SlistAppend, r.Error);
  Bind(library, "curl_slist_free_all", r.Api.SlistFreeAll, r.Error);
  Bind(library, "curl_multi_init", r.Api.MultiInit, r.Error);
  Bind(library, "curl_multi_add_handle", r.Api.MultiAddHandle, r.Error);
  Bind(library, "curl_multi_remove_handle", r.Api.MultiRemoveHandle, r.Error);
  Bind(library, "curl_multi_perform", r.Api.MultiPerform, r.Error);
  Bind(library, "curl_multi_poll", r.Api.MultiPoll, r.Error);
  Bind(library, "curl_multi_info_read", r.Api.MultiInfoRead, r.Error);
  Bind(library, "curl_multi_cleanup", r.Api.MultiCleanup, r.Error);
  // libcurl wants one global initialisation before any handle, on any thread.
  if (r.Error.empty() && globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) r.Error = "initialisation impossible";
  return r;
}

}  // namespace

const TCurlLibrary& Curl() {
  static const TLoaded loaded = Load();
  if (!loaded.Error.empty())
    throw EHttpsError(Utf8ToUtf16("échec de la requête (libcurl indisponible : " + loaded.Error + ")"));
  return loaded.Api;
}

}  // namespace mirelon
