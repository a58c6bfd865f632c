#include "gateway/gateway_client.h"

#include "core/code_page.h"
#include "core/result_codes.h"
#include "gateway/http_transport.h"
#include "gateway/session_envelope.h"

namespace valo {

GatewayClient::GatewayClient(GatewayEndpoint endpoint, platform::Ui& ui)
    : endpoint_(std::move(endpoint)),
      ui_(ui),
      rsa_(RsaEnvelope::fromPublicKeyPem(endpoint_.publicKeyPem)) {}

std::string GatewayClient::actionUrl(std::string_view action) const {
  return endpoint_.baseUrl + std::string(action);
}

template <typename Seal>
std::optional<ParamMap> GatewayClient::sealValues(const ParamMap& params, bool dropEmpty,
                                                  Seal seal) const {
  // One conversion descriptor for all values: opening one costs about as much as sealing
  // a short value.
  CodePageConverter toWire(endpoint_.wireCodePage, "UTF-8");
  ParamMap sealed;
  for (const auto& [key, value] : params) {
    // The keys arrive in order, so each goes in at the end without a search.
    if (value.empty()) {
      if (!dropEmpty) sealed.emplace_hint(sealed.end(), key, std::string());
      continue;
    }
    std::optional<std::string> wire = toWire.convert(value);
    if (!wire) return std::nullopt;
    sealed.emplace_hint(sealed.end(), key, seal(*wire));
  }
  return sealed;
}

std::optional<std::string> GatewayClient::replyText(const std::string& opened) const {
  std::string_view text(opened);
  text = text.substr(0, text.find('\0'));
  return codePageToUtf8(text, endpoint_.wireCodePage);
}

int GatewayClient::postRsaEnvelope(const std::string& url, const ParamMap& params,
                                   std::string& reply) {
  if (!rsa_) return code::kUnknownError;
  std::optional<ParamMap> sealed =
      sealValues(params, true, [this](std::string_view value) { return rsa_->sealValue(value); });
  if (!sealed) return code::kUnknownError;
  std::string body;
  int result = httpPostForm(ui_, endpoint_.pinnedCaPem, url, *sealed, body);
  if (result != code::kSuccess) return result;
  std::optional<std::string> opened = rsa_->openReply(body);
  std::optional<std::string> text = opened ? replyText(*opened) : std::nullopt;
  if (!text) return code::kUnknownError;
  reply = std::move(*text);
  return code::kSuccess;
}

int GatewayClient::postSessionEnvelope(const std::string& sessionKey, const std::string& url,
                                       const ParamMap& params, std::string& reply) {
  std::optional<SessionEnvelope> session = SessionEnvelope::fromSessionKey(sessionKey);
  if (!session) return code::kUnknownError;
  std::optional<ParamMap> sealed = sealValues(
      params, false, [&session](std::string_view value) { return session->sealValue(value); });
  if (!sealed) return code::kUnknownError;
  std::string body;
  int result = httpPostForm(ui_, endpoint_.pinnedCaPem, url, *sealed, body);
  if (result != code::kSuccess) return result;
  std::optional<std::string> opened = session->openReply(body);
  std::optional<std::string> text = opened ? replyText(*opened) : std::nullopt;
  if (!text) return code::kUnknownError;
  reply = std::move(*text);
  return code::kSuccess;
}

}  // namespace valo
