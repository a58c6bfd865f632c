#ifndef VALO_GATEWAY_SESSION_ENVELOPE_H_
#define VALO_GATEWAY_SESSION_ENVELOPE_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace valo {

// The envelope used after login: every value and the whole reply are encrypted with
// AES-128-CBC (PKCS#7 padding) under the first 16 bytes of the session key, always from
// the fixed vector "8642097531864209", so equal values give equal ciphertexts.
class SessionEnvelope {
 public:
  static constexpr size_t kKeyLength = 16;

  // nullopt when the session key is shorter than 16 bytes.
  static std::optional<SessionEnvelope> fromSessionKey(std::string_view sessionKey);

  // The Base64 text of the value's encryption (the length rounded up to the next multiple
  // of 16, a whole block more when it already is one); empty when encryption fails.
  std::string sealValue(std::string_view value) const;

  // Decodes the Base64 body (lenient) and decrypts it. nullopt when nothing decodes, the
  // decryption fails (a wrong key usually shows as bad padding) or gives nothing.
  std::optional<std::string> openReply(std::string_view body) const;

 private:
  SessionEnvelope() = default;

  std::array<unsigned char, kKeyLength> key_{};
};

}  // namespace valo

#endif  // VALO_GATEWAY_SESSION_ENVELOPE_H_
