#include "sim_crypto.h"

#include <iconv.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include <cerrno>
#include <cstdio>

namespace valo::sim {
namespace {

struct PkeyCtxDeleter {
  void operator()(EVP_PKEY_CTX* ctx) const { EVP_PKEY_CTX_free(ctx); }
};
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxDeleter>;

struct CipherCtxDeleter {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

constexpr unsigned char kIv[] = "8642097531864209";
constexpr size_t kRsaBlock = 256;
constexpr size_t kRsaMaxPiece = kRsaBlock - 11;

const unsigned char* bytesOf(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

std::optional<std::string> aesCrypt(bool encrypt, std::string_view key, std::string_view in) {
  if (key.size() < 16) return std::nullopt;
  std::unique_ptr<EVP_CIPHER_CTX, CipherCtxDeleter> ctx(EVP_CIPHER_CTX_new());
  std::string out(in.size() + 32, '\0');
  auto* o = reinterpret_cast<unsigned char*>(out.data());
  int n1 = 0;
  int n2 = 0;
  if (!ctx ||
      EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, bytesOf(key), kIv,
                        encrypt ? 1 : 0) != 1 ||
      EVP_CipherUpdate(ctx.get(), o, &n1, bytesOf(in), static_cast<int>(in.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), o + n1, &n2) != 1) {
    ERR_clear_error();
    return std::nullopt;
  }
  out.resize(static_cast<size_t>(n1 + n2));
  return out;
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

PrivateKey loadPrivateKey(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return nullptr;
  PrivateKey key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
  ERR_clear_error();
  return key;
}

PrivateKey generateRsaKey() { return PrivateKey(EVP_RSA_gen(2048)); }

std::optional<std::string> rsaPrivateDecrypt(EVP_PKEY* key, std::string_view block) {
  PkeyCtx ctx(EVP_PKEY_CTX_new(key, nullptr));
  std::string out(kRsaBlock, '\0');
  size_t length = out.size();
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) != 1 ||
      EVP_PKEY_decrypt(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &length,
                       bytesOf(block), block.size()) != 1) {
    ERR_clear_error();
    return std::nullopt;
  }
  out.resize(length);
  return out;
}

std::optional<std::string> rsaPrivateEncryptBlocks(EVP_PKEY* key, std::string_view text) {
  PkeyCtx ctx(EVP_PKEY_CTX_new(key, nullptr));
  if (!ctx || EVP_PKEY_sign_init(ctx.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) != 1) {
    ERR_clear_error();
    return std::nullopt;
  }
  std::string out;
  for (size_t offset = 0; offset < text.size(); offset += kRsaMaxPiece) {
    std::string_view piece = text.substr(offset, kRsaMaxPiece);
    unsigned char block[kRsaBlock];
    size_t length = sizeof block;
    // Without a digest, signing is the raw private-key operation on a type-1 block.
    if (EVP_PKEY_sign(ctx.get(), block, &length, bytesOf(piece), piece.size()) != 1) {
      ERR_clear_error();
      return std::nullopt;
    }
    out.append(reinterpret_cast<const char*>(block), length);
  }
  return out;
}

std::optional<std::string> aesEncrypt(std::string_view key, std::string_view plain) {
  return aesCrypt(true, key, plain);
}

std::optional<std::string> aesDecrypt(std::string_view key, std::string_view cipher) {
  return aesCrypt(false, key, cipher);
}

std::string base64Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63],
            kAlphabet[v & 63]};
  }
  size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> base64DecodeStrict(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    int v[4];
    int padding = 0;
    for (int k = 0; k < 4; ++k) {
      char c = text[i + k];
      if (c == '=' && last && k >= 2) {
        v[k] = 0;
        ++padding;
        continue;
      }
      if (padding > 0) return std::nullopt;
      v[k] = base64Value(c);
      if (v[k] < 0) return std::nullopt;
    }
    unsigned bits = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
    out.push_back(static_cast<char>(bits >> 16));
    if (padding < 2) out.push_back(static_cast<char>((bits >> 8) & 0xFF));
    if (padding < 1) out.push_back(static_cast<char>(bits & 0xFF));
  }
  return out;
}

std::optional<std::string> convertText(std::string_view text, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
  std::string in(text);
  std::string out(text.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
      iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string toHex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 15]);
  }
  return out;
}

std::string randomAlphanumeric(size_t length) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string out;
  unsigned char byte = 0;
  while (out.size() < length) {
    if (RAND_bytes(&byte, 1) != 1) continue;
    if (byte < 248) out.push_back(kChars[byte % 62]);
  }
  return out;
}

}  // namespace valo::sim
