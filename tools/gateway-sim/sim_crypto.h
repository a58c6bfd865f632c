#ifndef VALO_GATEWAY_SIM_SIM_CRYPTO_H_
#define VALO_GATEWAY_SIM_SIM_CRYPTO_H_

#include <openssl/evp.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The gateway's side of the envelopes, written independently of the client's code so a
// fault on one side is not mirrored on the other.
namespace valo::sim {

struct PkeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using PrivateKey = std::unique_ptr<EVP_PKEY, PkeyDeleter>;

PrivateKey loadPrivateKey(const std::string& path);
// A fresh RSA-2048 key (the "wrong key" of fault injection).
PrivateKey generateRsaKey();

// PKCS#1 v1.5 decryption of one block with the private key.
std::optional<std::string> rsaPrivateDecrypt(EVP_PKEY* key, std::string_view block);
// The reply envelope: the text cut into pieces of at most 245 bytes, each "encrypted"
// with the private key as a PKCS#1 type-1 block, the blocks joined.
std::optional<std::string> rsaPrivateEncryptBlocks(EVP_PKEY* key, std::string_view text);

// AES-128-CBC with PKCS#7 padding and the fixed vector "8642097531864209"; `key` holds
// at least 16 bytes, the first 16 are used.
std::optional<std::string> aesEncrypt(std::string_view key, std::string_view plain);
std::optional<std::string> aesDecrypt(std::string_view key, std::string_view cipher);

std::string base64Encode(std::string_view bytes);
// Strict: only the standard alphabet with correct "=" padding; nullopt otherwise.
std::optional<std::string> base64DecodeStrict(std::string_view text);

// Text conversion with iconv; nullopt when the text cannot be converted.
std::optional<std::string> convertText(std::string_view text, const char* from, const char* to);
inline std::optional<std::string> utf8ToCp950(std::string_view text) {
  return convertText(text, "UTF-8", "CP950");
}
inline std::optional<std::string> cp950ToUtf8(std::string_view text) {
  return convertText(text, "CP950", "UTF-8");
}

std::string toHex(std::string_view bytes);
std::string randomAlphanumeric(size_t length);

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_SIM_CRYPTO_H_
