#include "gateway/curl_handle.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace valo {
namespace {

using CurlUrl = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;
using CurlText = std::unique_ptr<char, decltype(&curl_free)>;

void initCurlOnce() {
  static const bool initialised = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return true;
  }();
  (void)initialised;
}

// The executable's file name without its extension, as the Windows program named
// itself to web servers.
const std::string& applicationName() {
  static const std::string name = [] {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("valo") : exe.stem().string();
  }();
  return name;
}

// Adds the pinned CA certificates to the trust store libcurl has already filled from
// the system's CA bundle, so both are trusted. CURLOPT_CAINFO would replace the system
// bundle instead of extending it.
CURLcode addPinnedCertificates(CURL* /*curl*/, void* sslContext, void* userData) {
  const auto* pem = static_cast<const std::string*>(userData);
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(pem->data(), static_cast<int>(pem->size())), BIO_free);
  int added = 0;
  if (bio && store) {
    while (X509* raw = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
      std::unique_ptr<X509, decltype(&X509_free)> cert(raw, X509_free);
      if (X509_STORE_add_cert(store, cert.get()) == 1) ++added;
    }
  }
  // The end of the PEM text leaves an error on the queue; the TLS layer must not see it.
  ERR_clear_error();
  return added > 0 ? CURLE_OK : CURLE_SSL_CACERT_BADFILE;
}

std::optional<std::string> urlPart(CURLU* url, CURLUPart part, unsigned flags) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK) return std::nullopt;
  CurlText text(raw, curl_free);
  return std::string(text.get());
}

}  // namespace

CurlEasy newCurlHandle(const std::string& pinnedCaPem) {
  initCurlOnce();
  CurlEasy curl(curl_easy_init());
  if (!curl) return curl;
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_USERAGENT, applicationName().c_str());
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  // A connection that delivers nothing for a minute is given up, as the Windows
  // program's internet layer did by default, instead of blocking the window forever.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
  if (!pinnedCaPem.empty()) {
#if LIBCURL_VERSION_NUM >= 0x075700
    // The pinned certificates are added to the store per connection; a cached store
    // would carry them over.
    curl_easy_setopt(h, CURLOPT_CA_CACHE_TIMEOUT, 0L);
#endif
    curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, addPinnedCertificates);
    curl_easy_setopt(h, CURLOPT_SSL_CTX_DATA, const_cast<std::string*>(&pinnedCaPem));
  }
  return curl;
}

std::optional<HttpTarget> parseHttpTarget(const std::string& url) {
  initCurlOnce();
  CurlUrl parsed(curl_url(), curl_url_cleanup);
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
    return std::nullopt;
  }
  std::optional<std::string> host = urlPart(parsed.get(), CURLUPART_HOST, 0);
  std::optional<std::string> port = urlPart(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  std::optional<std::string> path = urlPart(parsed.get(), CURLUPART_PATH, 0);
  if (!host || !port || !path) return std::nullopt;
  std::optional<std::string> query = urlPart(parsed.get(), CURLUPART_QUERY, 0);

  HttpTarget target;
  target.host = *host;
  target.port = std::atoi(port->c_str());
  target.secure = url.compare(0, 5, "https") == 0;
  target.url = std::string(target.secure ? "https" : "http") + "://" + target.host + ":" + *port +
               *path + (query ? "?" + *query : std::string());
  return target;
}

}  // namespace valo
