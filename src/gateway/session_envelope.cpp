#include "gateway/session_envelope.h"

#include <openssl/err.h>
#include <openssl/evp.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/base64.h"

namespace valo {
namespace {

constexpr unsigned char kIv[] = {'8', '6', '4', '2', '0', '9', '7', '5',
                                 '3', '1', '8', '6', '4', '2', '0', '9'};

struct CipherCtxDeleter {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxDeleter>;

struct CipherDeleter {
  void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
};

// Fetched once: an implicit fetch on every value would cost more than the encryption.
const EVP_CIPHER* aes128Cbc() {
  static const std::unique_ptr<EVP_CIPHER, CipherDeleter> cipher(
      EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr));
  return cipher.get();
}

// Runs one whole encryption or decryption with PKCS#7 padding; nullopt when a step fails.
// Padding is on in every freshly initialised context, so it is not set again: setting it
// goes through the provider's parameter lookup and cost a tenth of a sealed value.
std::optional<std::string> crypt(bool encrypt, const unsigned char* key, const unsigned char* in,
                                 size_t inLength) {
  const EVP_CIPHER* cipher = aes128Cbc();
  CipherCtx ctx(EVP_CIPHER_CTX_new());
  if (!cipher || !ctx || inLength > static_cast<size_t>(INT32_MAX) - 32 ||
      EVP_CipherInit_ex2(ctx.get(), cipher, key, kIv, encrypt ? 1 : 0, nullptr) <= 0) {
    ERR_clear_error();
    return std::nullopt;
  }
  std::string out(inLength + 16, '\0');
  auto* outBytes = reinterpret_cast<unsigned char*>(out.data());
  int updateLength = 0;
  int finalLength = 0;
  if (EVP_CipherUpdate(ctx.get(), outBytes, &updateLength, in, static_cast<int>(inLength)) <= 0 ||
      EVP_CipherFinal_ex(ctx.get(), outBytes + updateLength, &finalLength) <= 0) {
    ERR_clear_error();
    return std::nullopt;
  }
  out.resize(static_cast<size_t>(updateLength + finalLength));
  return out;
}

}  // namespace

std::optional<SessionEnvelope> SessionEnvelope::fromSessionKey(std::string_view sessionKey) {
  if (sessionKey.size() < kKeyLength) return std::nullopt;
  SessionEnvelope envelope;
  std::memcpy(envelope.key_.data(), sessionKey.data(), kKeyLength);
  return envelope;
}

std::string SessionEnvelope::sealValue(std::string_view value) const {
  std::optional<std::string> sealed =
      crypt(true, key_.data(), reinterpret_cast<const unsigned char*>(value.data()), value.size());
  return sealed ? base64Encode(*sealed) : std::string();
}

std::optional<std::string> SessionEnvelope::openReply(std::string_view body) const {
  // The decoded bytes never outnumber the characters, so one pass into a buffer as large
  // as the body decodes everything.
  std::vector<uint8_t> bytes(body.size());
  size_t decoded = 0;
  base64Decode(body.data(), body.size(), bytes.data(), bytes.size(), &decoded);
  if (decoded == 0) return std::nullopt;
  bytes.resize(decoded);
  std::optional<std::string> opened = crypt(false, key_.data(), bytes.data(), bytes.size());
  if (!opened || opened->empty()) return std::nullopt;
  return opened;
}

}  // namespace valo
