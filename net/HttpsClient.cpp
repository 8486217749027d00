#include "net/HttpsClient.h"

#include "net/CurlLibrary.h"

#include <charconv>
#include <cstdlib>
#include <memory>

namespace mirelon {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// The state of one transfer, filled by the header and body callbacks.
struct TTransfer {
  THttpsResponse R;
  int64_t Limit = -1;
  bool FollowRedirects = true;

  // Every status line starts a new answer: a redirect hop or a 100 Continue.
  void StartAnswer(std::string_view line) {
    R = THttpsResponse();
    size_t sp = line.find(' ');
    if (sp == std::string_view::npos) return;
    std::string_view rest = line.substr(sp + 1);
    std::from_chars(rest.data(), rest.data() + rest.size(), R.StatusCode);
    size_t sp2 = rest.find(' ');
    if (sp2 != std::string_view::npos) R.StatusText = std::string(TrimSpaces(rest.substr(sp2 + 1)));
  }

  // The answer whose body the caller gets (not an informational or followed one).
  bool IsFinal() const {
    if (R.StatusCode < 200) return false;
    bool followed = R.StatusCode >= 300 && R.StatusCode < 400 && !R.Header("Location").empty();
    return !(FollowRedirects && followed);
  }

  // False stops the transfer.
  bool OnHeaderLine(std::string_view line) {
    line = TrimSpaces(line);
    if (line.substr(0, 5) == "HTTP/") {
      StartAnswer(line);
    } else if (line.empty()) {
      if (IsFinal() && Limit >= 0 && R.AnnouncedLength > Limit) R.TooLarge = true;
    } else if (size_t colon = line.find(':'); colon != std::string_view::npos) {
      std::string_view name = TrimSpaces(line.substr(0, colon)), value = TrimSpaces(line.substr(colon + 1));
      R.Headers.emplace_back(name, value);
      if (SameName(name, "Content-Length")) std::from_chars(value.data(), value.data() + value.size(), R.AnnouncedLength);
    }
    return !R.TooLarge;
  }

  bool OnBody(std::string_view data) {
    R.ReceivedBytes += static_cast<int64_t>(data.size());
    if (Limit >= 0 && R.ReceivedBytes > Limit) {
      R.TooLarge = true;
      return false;
    }
    R.Body.append(data);
    return true;
  }
};

size_t HeaderCallback(char* data, size_t size, size_t count, void* ctx) {
  return static_cast<TTransfer*>(ctx)->OnHeaderLine(std::string_view(data, size * count)) ? size * count : 0;
}

size_t BodyCallback(char* data, size_t size, size_t count, void* ctx) {
  return static_cast<TTransfer*>(ctx)->OnBody(std::string_view(data, size * count)) ? size * count : 0;
}

// A readable summary of why a request got no answer, with libcurl's detail.
std::u16string FailureText(CURLcode rc, const char* detail) {
  const char* what;
  switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: what = "nom d'hôte introuvable"; break;
    case CURLE_COULDNT_CONNECT: what = "connexion impossible"; break;
    case CURLE_OPERATION_TIMEDOUT: what = "délai d'attente dépassé"; break;
    case CURLE_PEER_FAILED_VERIFICATION: what = "certificat du serveur refusé"; break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE: what = "échec de la connexion sécurisée"; break;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: what = "adresse invalide"; break;
    case CURLE_TOO_MANY_REDIRECTS: what = "trop de redirections"; break;
    case CURLE_ABORTED_BY_CALLBACK: what = "requête annulée"; break;
    default: what = "échec de la requête"; break;
  }
  std::string text = what;
  text += " (";
  text += detail[0] ? detail : Curl().EasyStrerror(rc);
  text += ")";
  return Utf8ToUtf16(text);
}

// How long a transfer waits for its sockets between two questions to the
// cancel check: short, so that a run's abort ends a transfer at once.
constexpr int kPollMs = 10;

// Runs the transfer of h in polls of at most kPollMs, asking cancelled (when
// set) between two of them. A plain curl_easy_perform would sleep up to a
// second at a time while the peer is silent, out of reach of any callback.
CURLcode RunTransfer(const TCurlLibrary& curl, CURL* h, const std::function<bool()>& cancelled) {
  std::unique_ptr<CURLM, CURLMcode (*)(CURLM*)> multi(curl.MultiInit(), curl.MultiCleanup);
  if (!multi || curl.MultiAddHandle(multi.get(), h) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLcode rc = CURLE_FAILED_INIT;
  for (bool done = false; !done;) {
    int running = 0, left = 0;
    if (curl.MultiPerform(multi.get(), &running) != CURLM_OK) break;
    while (CURLMsg* msg = curl.MultiInfoRead(multi.get(), &left)) {
      if (msg->msg == CURLMSG_DONE) {
        rc = msg->data.result;
        done = true;
      }
    }
    if (done) break;
    if (cancelled && cancelled()) {
      rc = CURLE_ABORTED_BY_CALLBACK;
      // A name still being resolved is left to its thread instead of waited for.
      curl.EasySetopt(h, CURLOPT_QUICK_EXIT, 1L);
      break;
    }
    curl.MultiPoll(multi.get(), nullptr, 0, kPollMs, nullptr);
  }
  curl.MultiRemoveHandle(multi.get(), h);
  return rc;
}

}  // namespace

std::string THttpsResponse::Header(std::string_view name) const {
  for (const auto& [n, v] : Headers)
    if (SameName(n, name)) return v;
  return {};
}

std::u16string THttpsResponse::Text() const { return Utf8ToUtf16(Body); }

THttpsClient::THttpsClient() = default;

void THttpsClient::SetTimeouts(int32_t connectMs, int32_t responseMs) {
  FConnectMs = connectMs;
  FResponseMs = responseMs;
}

void THttpsClient::AddHeader(std::string_view name, std::string_view value) {
  FHeaders.push_back(std::string(name) + ": " + std::string(value));
}

THttpsResponse THttpsClient::Get(const std::string& url) { return Perform(url, nullptr, {}); }

THttpsResponse THttpsClient::Post(const std::string& url, std::string_view body, std::string_view contentType) {
  return Perform(url, &body, contentType);
}

THttpsResponse THttpsClient::Perform(const std::string& url, const std::string_view* body,
                                     std::string_view contentType) {
  // A NUL would cut the address short on its way into libcurl.
  if (url.find('\0') != std::string::npos) throw EHttpsError(u"adresse invalide (caractère nul)");
  const TCurlLibrary& curl = Curl();
  std::unique_ptr<CURL, void (*)(CURL*)> handle(curl.EasyInit(), curl.EasyCleanup);
  if (!handle) throw EHttpsError(u"échec de la requête (libcurl indisponible)");
  CURL* h = handle.get();

  std::unique_ptr<curl_slist, void (*)(curl_slist*)> headers(nullptr, curl.SlistFreeAll);
  auto addHeader = [&](const std::string& line) { headers.reset(curl.SlistAppend(headers.release(), line.c_str())); };
  for (const std::string& line : FHeaders) addHeader(line);
  if (body && !contentType.empty()) addHeader("Content-Type: " + std::string(contentType));

  TTransfer t;
  t.Limit = FBodyLimit;
  t.FollowRedirects = FFollowRedirects;
  char detail[CURL_ERROR_SIZE] = "";

  curl.EasySetopt(h, CURLOPT_URL, url.c_str());
  curl.EasySetopt(h, CURLOPT_PROTOCOLS_STR, "https");
  curl.EasySetopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl.EasySetopt(h, CURLOPT_FOLLOWLOCATION, FFollowRedirects ? 1L : 0L);
  curl.EasySetopt(h, CURLOPT_MAXREDIRS, 10L);
  // HTTP/1.1 keeps the reason phrase of the status line.
  curl.EasySetopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  long maxTls = FRestrictTls ? CURL_SSLVERSION_MAX_TLSv1_3 : CURL_SSLVERSION_MAX_DEFAULT;
  curl.EasySetopt(h, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2) | maxTls);
  const char* envCa = std::getenv("SSL_CERT_FILE");
  std::string ca = !FCaFile.empty() ? FCaFile : (envCa ? envCa : "");
  if (!ca.empty()) curl.EasySetopt(h, CURLOPT_CAINFO, ca.c_str());
  curl.EasySetopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(FConnectMs));
  curl.EasySetopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(FConnectMs) + FResponseMs);
  curl.EasySetopt(h, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM: safe on worker threads
  curl.EasySetopt(h, CURLOPT_USERAGENT, FUserAgent.c_str());
  curl.EasySetopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl.EasySetopt(h, CURLOPT_ERRORBUFFER, detail);
  curl.EasySetopt(h, CURLOPT_HEADERFUNCTION, HeaderCallback);
  curl.EasySetopt(h, CURLOPT_HEADERDATA, &t);
  curl.EasySetopt(h, CURLOPT_WRITEFUNCTION, BodyCallback);
  curl.EasySetopt(h, CURLOPT_WRITEDATA, &t);
  if (body) {
    curl.EasySetopt(h, CURLOPT_POST, 1L);
    curl.EasySetopt(h, CURLOPT_POSTFIELDS, body->empty() ? "" : body->data());
    curl.EasySetopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
  }

  CURLcode rc = RunTransfer(curl, h, FCancelled);
  if (rc != CURLE_OK && !t.R.TooLarge) throw EHttpsError(FailureText(rc, detail));
  return std::move(t.R);
}

}  // namespace mirelon
