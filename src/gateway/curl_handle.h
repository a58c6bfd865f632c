#ifndef VALO_GATEWAY_CURL_HANDLE_H_
#define VALO_GATEWAY_CURL_HANDLE_H_

#include <curl/curl.h>

#include <memory>
#include <optional>
#include <string>

namespace valo {

struct CurlEasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// A new easy handle with what every request of the program shares: http and https only,
// server certificates verified (host name included) against the system trust store plus
// the PEM certificates of `pinnedCaPem` (a store built once per process and pinned text),
// the application name as user agent, the system's proxy settings, no signals.
// `pinnedCaPem` must outlive the handle; pinned text without a readable certificate fails
// every https request with a TLS error. nullptr
// when libcurl cannot make a handle.
CurlEasy newCurlHandle(const std::string& pinnedCaPem);

// Where a request goes, read the way the transport reads a URL: the scheme is secure
// only when the URL's first five characters are exactly "https"; any other URL is
// requested over plain http, at the port the URL names (or its scheme's default port).
struct HttpTarget {
  std::string host;
  int port = 0;
  bool secure = false;
  // The URL requested: "https" or "http", host, port, path and query.
  std::string url;
};

// nullopt when the URL cannot be parsed.
std::optional<HttpTarget> parseHttpTarget(const std::string& url);

}  // namespace valo

#endif  // VALO_GATEWAY_CURL_HANDLE_H_
