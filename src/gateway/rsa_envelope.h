#ifndef VALO_GATEWAY_RSA_ENVELOPE_H_
#define VALO_GATEWAY_RSA_ENVELOPE_H_

#include <openssl/evp.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace valo {

// The envelope used before login: values sealed with the gateway's public RSA key
// (PKCS#1 v1.5 encryption), replies opened with the same key (the gateway encrypts them
// with its private key as PKCS#1 type-1 blocks, which the public key recovers).
class RsaEnvelope {
 public:
  // Size of one RSA block of the 2048-bit key, and the longest value one block seals.
  static constexpr size_t kBlockSize = 256;
  static constexpr size_t kMaxValueLength = kBlockSize - 11;

  // nullopt when the PEM text is not an RSA public key.
  static std::optional<RsaEnvelope> fromPublicKeyPem(std::string_view pem);

  // The Base64 text of the value's encryption (344 characters for a 2048-bit key; the
  // padding is random, so every call differs). Empty when the value cannot be encrypted
  // (longer than kMaxValueLength bytes).
  std::string sealValue(std::string_view value) const;

  // Decodes the Base64 body (lenient), cuts it into blocks of the key size (the last one
  // may be shorter) and recovers each; the blocks that recover are joined in order, a
  // block that fails contributes nothing. nullopt when nothing decodes or recovers.
  std::optional<std::string> openReply(std::string_view body) const;

 private:
  struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  };
  explicit RsaEnvelope(EVP_PKEY* key) : key_(key, KeyDeleter()) {}

  // Shared by copies; the key is only read.
  std::shared_ptr<EVP_PKEY> key_;
};

}  // namespace valo

#endif  // VALO_GATEWAY_RSA_ENVELOPE_H_
