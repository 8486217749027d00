#include "update/Service.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

#include <memory>

namespace mirelon {

namespace {

bool IsLoopbackAddress(const sockaddr* a) {
  if (a->sa_family == AF_INET) {
    uint32_t ip = ntohl(reinterpret_cast<const sockaddr_in*>(a)->sin_addr.s_addr);
    return (ip >> 24) == 127;
  }
  if (a->sa_family == AF_INET6) {
    const in6_addr& ip = reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr;
    if (IN6_IS_ADDR_LOOPBACK(&ip)) return true;
    return IN6_IS_ADDR_V4MAPPED(&ip) && ip.s6_addr[12] == 127;
  }
  return false;
}

// An address that says the interface reaches a network: IPv4, or IPv6 other
// than the link-local one that every link gets by itself.
bool IsNetworkAddress(const sockaddr* a) {
  if (a->sa_family == AF_INET) return true;
  if (a->sa_family != AF_INET6) return false;
  return !IN6_IS_ADDR_LINKLOCAL(&reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr);
}

}  // namespace

std::string ServiceEndpoint(std::string_view base, std::string_view path) {
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  if (base.empty()) return {};
  return std::string(base) + std::string(path);
}

std::string UrlHost(std::string_view url) {
  size_t scheme = url.find("://");
  std::string_view rest = scheme == std::string_view::npos ? url : url.substr(scheme + 3);
  std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  if (size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  if (!authority.empty() && authority.front() == '[') {
    size_t close = authority.find(']');
    return close == std::string_view::npos ? std::string() : std::string(authority.substr(1, close - 1));
  }
  return std::string(authority.substr(0, authority.find(':')));
}

bool IsLoopbackHost(const std::string& host) {
  if (host.empty()) return false;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) return false;
  std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner(found, freeaddrinfo);
  for (const addrinfo* a = found; a; a = a->ai_next)
    if (!IsLoopbackAddress(a->ai_addr)) return false;
  return found != nullptr;
}

bool HasNetworkInterface() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, freeifaddrs);
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    bool up = (i->ifa_flags & IFF_UP) && (i->ifa_flags & IFF_RUNNING) && !(i->ifa_flags & IFF_LOOPBACK);
    if (up && i->ifa_addr && IsNetworkAddress(i->ifa_addr)) return true;
  }
  return false;
}

bool IsConnected(const std::string& url) { return HasNetworkInterface() || IsLoopbackHost(UrlHost(url)); }

}  // namespace mirelon
