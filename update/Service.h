// The maker's web service: where its two endpoints are, and whether the
// machine can reach it at all.
#pragma once

#include <string>
#include <string_view>

namespace mirelon {

inline constexpr std::string_view kUpdatePath = "/includes/update.php";
inline constexpr std::string_view kRunReportPath = "/includes/api_run.php";

// The base address ("https://host[:port]", trailing slashes ignored) with
// path appended; empty when the base is empty, that is when the program runs
// without the service.
std::string ServiceEndpoint(std::string_view base, std::string_view path);

// The host of "scheme://[user@]host[:port][/...]" (an IPv6 address without
// its brackets); empty when there is none.
std::string UrlHost(std::string_view url);

// A loopback address, or a name that resolves to loopback addresses only
// (at least one), such as localhost.
bool IsLoopbackHost(const std::string& host);

// Some interface other than loopback is up and running with an address.
bool HasNetworkInterface();

// The service at url can be reached: the machine has a network interface,
// or the service runs on this machine (a test service on localhost, say).
bool IsConnected(const std::string& url);

}  // namespace mirelon
