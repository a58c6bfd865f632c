#include "gateway/rsa_envelope.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/base64.h"

namespace valo {
namespace {

struct PkeyCtxDeleter {
  void operator()(EVP_PKEY_CTX* ctx) const { EVP_PKEY_CTX_free(ctx); }
};
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxDeleter>;

}  // namespace

std::optional<RsaEnvelope> RsaEnvelope::fromPublicKeyPem(std::string_view pem) {
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), BIO_free);
  if (!bio) return std::nullopt;
  EVP_PKEY* key = PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr);
  ERR_clear_error();
  if (!key) return std::nullopt;
  if (EVP_PKEY_get_base_id(key) != EVP_PKEY_RSA ||
      static_cast<size_t>(EVP_PKEY_get_size(key)) != kBlockSize) {
    EVP_PKEY_free(key);
    return std::nullopt;
  }
  return RsaEnvelope(key);
}

std::string RsaEnvelope::sealValue(std::string_view value) const {
  if (value.size() > kMaxValueLength) return std::string();
  PkeyCtx ctx(EVP_PKEY_CTX_new(key_.get(), nullptr));
  unsigned char sealed[kBlockSize] = {};
  size_t sealedLength = sizeof sealed;
  if (!ctx || EVP_PKEY_encrypt_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0 ||
      EVP_PKEY_encrypt(ctx.get(), sealed, &sealedLength,
                       reinterpret_cast<const unsigned char*>(value.data()), value.size()) <= 0) {
    ERR_clear_error();
    return std::string();
  }
  return base64Encode(sealed, sealedLength);
}

std::optional<std::string> RsaEnvelope::openReply(std::string_view body) const {
  // The decoded bytes never outnumber the characters, so one pass into a buffer as large
  // as the body decodes everything.
  std::vector<uint8_t> bytes(body.size());
  size_t decoded = 0;
  base64Decode(body.data(), body.size(), bytes.data(), bytes.size(), &decoded);
  if (decoded == 0) return std::nullopt;
  bytes.resize(decoded);
  PkeyCtx ctx(EVP_PKEY_CTX_new(key_.get(), nullptr));
  if (!ctx || EVP_PKEY_verify_recover_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0) {
    ERR_clear_error();
    return std::nullopt;
  }
  std::string opened;
  unsigned char block[kBlockSize];
  for (size_t offset = 0; offset < bytes.size(); offset += kBlockSize) {
    size_t blockLength = std::min(kBlockSize, bytes.size() - offset);
    size_t recovered = sizeof block;
    if (EVP_PKEY_verify_recover(ctx.get(), block, &recovered, bytes.data() + offset, blockLength) >
        0) {
      opened.append(reinterpret_cast<const char*>(block), recovered);
    } else {
      ERR_clear_error();
    }
  }
  if (opened.empty()) return std::nullopt;
  return opened;
}

}  // namespace valo
