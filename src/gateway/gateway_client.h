#ifndef VALO_GATEWAY_GATEWAY_CLIENT_H_
#define VALO_GATEWAY_GATEWAY_CLIENT_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/param_map.h"
#include "gateway/gateway_endpoint.h"
#include "gateway/rsa_envelope.h"
#include "platform/ui.h"

namespace valo {

// Every gateway action goes through here: one action is one HTTPS POST of enveloped
// values to the action's URL, answered by one enveloped XML reply. Values are sent in the
// endpoint's code page and replies come back from it as UTF-8. Nothing is retried.
//
// Result codes of both posts: 0 with the reply text (up to its first zero byte); 1 when
// the request cannot be made, the status is not 200, the body is empty or the reply
// cannot be opened (also when a value or the reply is not valid in the wire code page);
// 59999 on a network error, after the transport's message box. On failure `reply` is
// left unchanged.
class GatewayClient {
 public:
  GatewayClient(GatewayEndpoint endpoint, platform::Ui& ui);
  GatewayClient(const GatewayClient&) = delete;
  GatewayClient& operator=(const GatewayClient&) = delete;

  const GatewayEndpoint& endpoint() const { return endpoint_; }

  // The base URL with the action name appended (names are case-sensitive).
  std::string actionUrl(std::string_view action) const;

  // Before login. Empty values are left out of the request; a value too long for one RSA
  // block is sent empty. Fails with 1 before sending when the endpoint's key is unusable.
  int postRsaEnvelope(const std::string& url, const ParamMap& params, std::string& reply);

  // After login, keyed with the first 16 bytes of `sessionKey`. Empty values are sent
  // empty. A key shorter than 16 bytes fails with 1 before anything is sent.
  int postSessionEnvelope(const std::string& sessionKey, const std::string& url,
                          const ParamMap& params, std::string& reply);

 private:
  // Converts the values to the wire code page and seals each with `seal`; nullopt when
  // a value cannot be converted.
  template <typename Seal>
  std::optional<ParamMap> sealValues(const ParamMap& params, bool dropEmpty, Seal seal) const;
  // The opened reply bytes up to the first zero byte, as UTF-8.
  std::optional<std::string> replyText(const std::string& opened) const;

  GatewayEndpoint endpoint_;
  platform::Ui& ui_;
  std::optional<RsaEnvelope> rsa_;
};

}  // namespace valo

#endif  // VALO_GATEWAY_GATEWAY_CLIENT_H_
