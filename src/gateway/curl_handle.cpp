#include "gateway/curl_handle.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
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

// The executable's file name without its extension: the program names itself to web
// servers by it.
const std::string& applicationName() {
  static const std::string name = [] {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("valo") : exe.stem().string();
  }();
  return name;
}

struct StoreFree {
  void operator()(X509_STORE* store) const { X509_STORE_free(store); }
};

// The trust store for one set of pinned certificates: the system's CA certificates
// (OpenSSL's default locations; SSL_CERT_FILE and SSL_CERT_DIR are honoured) plus the
// pinned ones. Built once per pinned text and shared by every connection, because loading
// the system bundle costs more than a whole request. nullptr when pinned certificates
// were given and none of them could be read.
X509_STORE* trustStoreFor(const std::string& pinnedCaPem) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<X509_STORE, StoreFree>> stores;
  std::lock_guard<std::mutex> lock(mutex);
  auto known = stores.find(pinnedCaPem);
  if (known != stores.end()) return known->second.get();

  std::unique_ptr<X509_STORE, StoreFree> store(X509_STORE_new());
  if (!store) return nullptr;
  // Without a system store only the pinned certificates are trusted.
  X509_STORE_set_default_paths(store.get());
  int pinned = 0;
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(pinnedCaPem.data(), static_cast<int>(pinnedCaPem.size())), BIO_free);
  while (bio) {
    std::unique_ptr<X509, decltype(&X509_free)> cert(
        PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), X509_free);
    if (!cert) break;
    if (X509_STORE_add_cert(store.get(), cert.get()) == 1) ++pinned;
  }
  // The end of the PEM text leaves an error on the queue; the TLS layer must not see it.
  ERR_clear_error();
  if (!pinnedCaPem.empty() && pinned == 0) return nullptr;
  return stores.emplace(pinnedCaPem, std::move(store)).first->second.get();
}

// Gives the connection the shared trust store in place of the empty one libcurl made.
CURLcode installTrustStore(CURL* /*curl*/, void* sslContext, void* userData) {
  X509_STORE* store = trustStoreFor(*static_cast<const std::string*>(userData));
  if (!store) return CURLE_SSL_CACERT_BADFILE;
  SSL_CTX_set1_cert_store(static_cast<SSL_CTX*>(sslContext), store);
  return CURLE_OK;
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
  // A connection that delivers nothing for a minute is given up instead of blocking the
  // window forever.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
  // libcurl loads no CA bundle of its own: every connection gets the shared store of the
  // system's and the pinned certificates instead (CURLOPT_CAINFO alone would replace the
  // system's certificates rather than add to them).
  curl_easy_setopt(h, CURLOPT_CAINFO, nullptr);
  curl_easy_setopt(h, CURLOPT_CAPATH, nullptr);
  // A libcurl whose TLS layer cannot take the store gets no handle: it would verify
  // against nothing or, worse, something else.
  if (curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, installTrustStore) != CURLE_OK ||
      curl_easy_setopt(h, CURLOPT_SSL_CTX_DATA, const_cast<std::string*>(&pinnedCaPem)) !=
          CURLE_OK) {
    return nullptr;
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
