#include "update/RunReport.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <ctime>

#include "net/HttpsClient.h"
#include "update/Service.h"

namespace mirelon {

namespace {

constexpr int32_t kReportTimeoutMs = 4000;

}  // namespace

std::string_view RunCounterKey() { return MIRELON_RUN_COUNTER_KEY; }

std::string HmacSha256Hex(std::string_view key, std::string_view message) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
            reinterpret_cast<const unsigned char*>(message.data()), message.size(), digest, &length))
    throw EHttpsError(u"signature impossible");
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

void SendRunReport(const std::string& serviceBase, std::string_view key, std::function<bool()> cancelled) {
  THttpsClient client;
  client.SetTimeouts(kReportTimeoutMs, kReportTimeoutMs);
  client.RestrictToTls12And13();
  client.SetBodyLimit(0);  // the answer is not read
  client.SetCancelCheck(std::move(cancelled));
  std::string timestamp = std::to_string(static_cast<long long>(std::time(nullptr)));
  client.AddHeader("X-Timestamp", timestamp);
  client.AddHeader("X-Signature", HmacSha256Hex(key, timestamp));
  client.Post(ServiceEndpoint(serviceBase, kRunReportPath), "{}", "application/json");
}

TRunReporter::TRunReporter(std::string serviceBase, std::string key, TConnectivity isConnected)
    : FServiceBase(std::move(serviceBase)), FKey(std::move(key)), FIsConnected(std::move(isConnected)) {}

bool TRunReporter::PingRunCounter() {
  if (ServiceEndpoint(FServiceBase, kRunReportPath).empty()) return false;
  return FJob.TryStart([this](const std::function<bool()>& cancelled) {
    if (FIsConnected(FServiceBase)) SendRunReport(FServiceBase, FKey, cancelled);
  });
}

}  // namespace mirelon
