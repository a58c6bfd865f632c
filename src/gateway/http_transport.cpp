#include "gateway/http_transport.h"

#include <optional>

#include "core/result_codes.h"
#include "gateway/curl_handle.h"
#include "gateway/form_body.h"

namespace valo {
namespace {

constexpr long kPostConnectTimeoutMs = 20000;
constexpr long kGetConnectTimeoutMs = 2000;
constexpr size_t kMaxErrorTextLength = 254;

size_t appendToString(char* data, size_t size, size_t count, void* userData) {
  static_cast<std::string*>(userData)->append(data, size * count);
  return size * count;
}

// Errors that mean no request could be made at all (the URL or the handle), as opposed to
// a network failure once the request is under way.
bool isRequestSetupError(CURLcode code) {
  return code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL ||
         code == CURLE_FAILED_INIT || code == CURLE_NOT_BUILT_IN || code == CURLE_OUT_OF_MEMORY;
}

struct Exchange {
  CURLcode code = CURLE_FAILED_INIT;
  long status = 0;
};

// Runs one request on a prepared handle, collecting the body into `body`.
Exchange perform(CURL* curl, std::string& body) {
  Exchange exchange;
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendToString);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  exchange.code = curl_easy_perform(curl);
  if (exchange.code == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &exchange.status);
  return exchange;
}

int resultOf(const Exchange& exchange, std::string& body) {
  if (exchange.status == 200 && !body.empty()) return code::kSuccess;
  body.clear();
  return code::kUnknownError;
}

std::string networkErrorText(const HttpTarget& target, CURLcode error) {
  std::string detail = curl_easy_strerror(error);
  if (detail.size() > kMaxErrorTextLength) detail.resize(kMaxErrorTextLength);
  return "與伺服器(" + target.host + ":" + std::to_string(target.port) +
         ")間網路連線發生錯誤!!\n[" + std::to_string(static_cast<int>(error)) + "]" + detail;
}

}  // namespace

int httpPostForm(platform::Ui& ui, const std::string& pinnedCaPem, const std::string& url,
                 const ParamMap& params, std::string& response) {
  response.clear();
  const std::string body = buildFormBody(params);
  std::optional<HttpTarget> target = parseHttpTarget(url);
  if (!target) return code::kUnknownError;
  CurlEasy curl = newCurlHandle(pinnedCaPem);
  if (!curl) return code::kUnknownError;

  // "charset:" with a colon is what the gateway has always received; it is kept as is.
  // The empty "Expect:" stops libcurl from waiting for a 100-continue on larger bodies.
  CurlHeaderList headers(curl_slist_append(
      nullptr, "Content-Type: application/x-www-form-urlencoded; charset: UTF-8"));
  if (!headers) return code::kUnknownError;
  curl_slist* last = curl_slist_append(headers.get(), "Expect:");
  if (!last) return code::kUnknownError;

  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, target->url.c_str());
  curl_easy_setopt(h, CURLOPT_POST, 1L);
  curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, kPostConnectTimeoutMs);

  Exchange exchange = perform(h, response);
  if (exchange.code != CURLE_OK) {
    response.clear();
    if (isRequestSetupError(exchange.code)) return code::kUnknownError;
    ui.messageBox(networkErrorText(*target, exchange.code));
    return code::kHttpConnectFailed;
  }
  return resultOf(exchange, response);
}

int httpGetBytes(const std::string& pinnedCaPem, const std::string& url, std::string& body) {
  body.clear();
  std::optional<HttpTarget> target = parseHttpTarget(url);
  if (!target) return code::kUnknownError;
  CurlEasy curl = newCurlHandle(pinnedCaPem);
  if (!curl) return code::kUnknownError;
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, target->url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, kGetConnectTimeoutMs);

  Exchange exchange = perform(h, body);
  if (exchange.code != CURLE_OK) {
    body.clear();
    return isRequestSetupError(exchange.code) ? code::kUnknownError : code::kHttpConnectFailed;
  }
  return resultOf(exchange, body);
}

}  // namespace valo
