// The envelopes' cost per value, side by side with the same OpenSSL calls made bare, and
// whole enveloped requests per second against the simulator on loopback. The envelope
// code should stay within 10% of the bare calls.
//
// Each pair does the same work on both sides. Sealing: one AES-128-CBC encryption in a
// fresh cipher context (cipher fetched once), then Base64 (the envelope's own encoder,
// OpenSSL's EVP_EncodeBlock bare). Opening: Base64 decoding (the envelope's lenient decoder,
// the strict EVP_DecodeBlock bare, which could not take a body with line breaks) and one
// decryption. RSA pairs likewise with one RSA operation per value or block.
//
// The envelope pairs leave out what the client does around the envelope for every value:
// the conversion to the wire code page and the entry in the enveloped map. Both sides
// leave it out, so the pairs stay comparable; the SessionSealWireValue pair adds the
// conversion to both sides (the client's converter, reused as the client reuses it for
// one request, against iconv on a reused descriptor), so that cost stays in view.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <memory>
#include <string>
#include <vector>

#include "core/base64.h"
#include "core/code_page.h"
#include "gateway/gateway_client.h"
#include "gateway/rsa_envelope.h"
#include "gateway/session_envelope.h"
#include "platform/scripted_ui.h"
#include "support/gateway_sim_process.h"
#include "support/test_util.h"

namespace valo {
namespace {

constexpr char kValue[] = "A123456789";
constexpr char kSessionKey[] = "0123456789abcdefTAIL";
constexpr unsigned char kIv[] = "8642097531864209";

struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct PkeyCtxFree {
  void operator()(EVP_PKEY_CTX* ctx) const { EVP_PKEY_CTX_free(ctx); }
};
struct CipherCtxFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
struct CipherFree {
  void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
};

std::string publicKeyPem() {
  return test::readTextFile(test::GatewaySimProcess::demoFile("gateway-public.pem"));
}

std::unique_ptr<EVP_PKEY, PkeyFree> readKey(const std::string& pem, bool isPrivate) {
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.data(), int(pem.size())),
                                                BIO_free);
  return std::unique_ptr<EVP_PKEY, PkeyFree>(
      isPrivate ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                : PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
}

std::string bareBase64(const unsigned char* bytes, size_t length) {
  std::string text(4 * ((length + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes, int(length));
  text.resize(size_t(n));
  return text;
}

// A two-block RSA reply as the gateway seals it (private-key type-1 blocks), in Base64.
std::string rsaReplyBody() {
  auto key =
      readKey(test::readTextFile(test::GatewaySimProcess::demoFile("gateway-private.pem")), true);
  std::string text =
      "<result><rtnCode>0</rtnCode><rtnMsg>" + std::string(300, 'M') + "</rtnMsg></result>";
  std::string sealed;
  for (size_t offset = 0; offset < text.size(); offset += 245) {
    std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
    EVP_PKEY_sign_init(ctx.get());
    EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING);
    unsigned char block[256];
    size_t length = sizeof block;
    std::string piece = text.substr(offset, 245);
    EVP_PKEY_sign(ctx.get(), block, &length, reinterpret_cast<const unsigned char*>(piece.data()),
                  piece.size());
    sealed.append(reinterpret_cast<char*>(block), length);
  }
  return base64Encode(sealed);
}

// --- Per value: RSA envelope -------------------------------------------------------------

void RsaSealValue_Envelope(benchmark::State& state) {
  RsaEnvelope envelope = *RsaEnvelope::fromPublicKeyPem(publicKeyPem());
  for (auto _ : state) benchmark::DoNotOptimize(envelope.sealValue(kValue));
}

void RsaSealValue_Bare(benchmark::State& state) {
  auto key = readKey(publicKeyPem(), false);
  for (auto _ : state) {
    std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
    unsigned char out[256];
    size_t length = sizeof out;
    EVP_PKEY_encrypt_init(ctx.get());
    EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING);
    EVP_PKEY_encrypt(ctx.get(), out, &length, reinterpret_cast<const unsigned char*>(kValue),
                     sizeof kValue - 1);
    benchmark::DoNotOptimize(bareBase64(out, length));
  }
}

void RsaOpenReply_Envelope(benchmark::State& state) {
  RsaEnvelope envelope = *RsaEnvelope::fromPublicKeyPem(publicKeyPem());
  const std::string body = rsaReplyBody();
  for (auto _ : state) benchmark::DoNotOptimize(envelope.openReply(body));
}

void RsaOpenReply_Bare(benchmark::State& state) {
  auto key = readKey(publicKeyPem(), false);
  const std::string body = rsaReplyBody();
  for (auto _ : state) {
    std::vector<unsigned char> bytes(body.size());
    int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(body.data()),
                                  int(body.size()));
    size_t length = size_t(decoded) / 256 * 256;  // EVP_DecodeBlock keeps the padding bytes
    std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
    EVP_PKEY_verify_recover_init(ctx.get());
    EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING);
    std::string text;
    for (size_t offset = 0; offset < length; offset += 256) {
      unsigned char out[256];
      size_t outLength = sizeof out;
      if (EVP_PKEY_verify_recover(ctx.get(), out, &outLength, bytes.data() + offset, 256) > 0) {
        text.append(reinterpret_cast<char*>(out), outLength);
      }
    }
    benchmark::DoNotOptimize(text);
  }
}

// --- Per value: session envelope ---------------------------------------------------------

const EVP_CIPHER* aes() {
  static std::unique_ptr<EVP_CIPHER, CipherFree> cipher(
      EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr));
  return cipher.get();
}

std::string bareAes(bool encrypt, const unsigned char* in, size_t length) {
  std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> ctx(EVP_CIPHER_CTX_new());
  std::string out(length + 16, '\0');
  auto* o = reinterpret_cast<unsigned char*>(out.data());
  int n1 = 0;
  int n2 = 0;
  EVP_CipherInit_ex2(ctx.get(), aes(), reinterpret_cast<const unsigned char*>(kSessionKey), kIv,
                     encrypt ? 1 : 0, nullptr);
  EVP_CipherUpdate(ctx.get(), o, &n1, in, int(length));
  EVP_CipherFinal_ex(ctx.get(), o + n1, &n2);
  out.resize(size_t(n1 + n2));
  return out;
}

void SessionSealValue_Envelope(benchmark::State& state) {
  SessionEnvelope envelope = *SessionEnvelope::fromSessionKey(kSessionKey);
  for (auto _ : state) benchmark::DoNotOptimize(envelope.sealValue(kValue));
}

void SessionSealValue_Bare(benchmark::State& state) {
  for (auto _ : state) {
    std::string sealed =
        bareAes(true, reinterpret_cast<const unsigned char*>(kValue), sizeof kValue - 1);
    benchmark::DoNotOptimize(
        bareBase64(reinterpret_cast<const unsigned char*>(sealed.data()), sealed.size()));
  }
}

// The value as the client seals it: converted to the wire code page first.
void SessionSealWireValue_Client(benchmark::State& state) {
  SessionEnvelope envelope = *SessionEnvelope::fromSessionKey(kSessionKey);
  CodePageConverter toWire("CP950", "UTF-8");
  for (auto _ : state) benchmark::DoNotOptimize(envelope.sealValue(*toWire.convert(kValue)));
}

void SessionSealWireValue_Bare(benchmark::State& state) {
  iconv_t toWire = iconv_open("CP950", "UTF-8");
  for (auto _ : state) {
    char in[] = "A123456789";
    std::string wire(2 * (sizeof in - 1) + 16, '\0');
    char* inNext = in;
    size_t inLeft = sizeof in - 1;
    char* outNext = wire.data();
    size_t outLeft = wire.size();
    iconv(toWire, &inNext, &inLeft, &outNext, &outLeft);
    iconv(toWire, nullptr, nullptr, &outNext, &outLeft);
    wire.resize(wire.size() - outLeft);
    std::string sealed =
        bareAes(true, reinterpret_cast<const unsigned char*>(wire.data()), wire.size());
    benchmark::DoNotOptimize(
        bareBase64(reinterpret_cast<const unsigned char*>(sealed.data()), sealed.size()));
  }
  iconv_close(toWire);
}

std::string sessionReplyBody() {
  std::string text = "<result><rtnCode>0</rtnCode><rtnMsg>" + std::string(300, 'M') +
                     "</rtnMsg><cn>A123456789-00-00</cn></result>";
  return base64Encode(
      bareAes(true, reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

void SessionOpenReply_Envelope(benchmark::State& state) {
  SessionEnvelope envelope = *SessionEnvelope::fromSessionKey(kSessionKey);
  const std::string body = sessionReplyBody();
  for (auto _ : state) benchmark::DoNotOptimize(envelope.openReply(body));
}

void SessionOpenReply_Bare(benchmark::State& state) {
  const std::string body = sessionReplyBody();
  for (auto _ : state) {
    std::vector<unsigned char> bytes(body.size());
    int decoded = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(body.data()),
                                  int(body.size()));
    size_t padding = body.ends_with("==") ? 2 : body.ends_with("=") ? 1 : 0;
    benchmark::DoNotOptimize(bareAes(false, bytes.data(), size_t(decoded) - padding));
  }
}

// --- Whole requests against the simulator on loopback -------------------------------------

struct Loopback {
  Loopback()
      : sim(R"({"sessions": [{"aeskey": "0123456789abcdefTAIL", "user": "A123456789"}]})"),
        client(sim.endpoint(), ui) {}
  test::GatewaySimProcess sim;
  platform::ScriptedUi ui;
  GatewayClient client;
};

Loopback& loopback() {
  static Loopback instance;
  return instance;
}

void RsaRequest_Loopback(benchmark::State& state) {
  Loopback& l = loopback();
  if (!l.sim.ready()) return state.SkipWithError(l.sim.error().c_str());
  const std::string url = l.client.actionUrl("checkVersion");
  for (auto _ : state) {
    std::string reply;
    if (l.client.postRsaEnvelope(url, {{"version", "1.3"}}, reply) != 0) {
      return state.SkipWithError("post failed");
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void SessionRequest_Loopback(benchmark::State& state) {
  Loopback& l = loopback();
  if (!l.sim.ready()) return state.SkipWithError(l.sim.error().c_str());
  const std::string url = l.client.actionUrl("iAmAlive");
  for (auto _ : state) {
    std::string reply;
    if (l.client.postSessionEnvelope(kSessionKey, url, {{"trash", ""}, {"version", "1.3"}},
                                     reply) != 0) {
      return state.SkipWithError("post failed");
    }
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(RsaSealValue_Envelope);
BENCHMARK(RsaSealValue_Bare);
BENCHMARK(RsaOpenReply_Envelope);
BENCHMARK(RsaOpenReply_Bare);
BENCHMARK(SessionSealValue_Envelope);
BENCHMARK(SessionSealValue_Bare);
BENCHMARK(SessionSealWireValue_Client);
BENCHMARK(SessionSealWireValue_Bare);
BENCHMARK(SessionOpenReply_Envelope);
BENCHMARK(SessionOpenReply_Bare);
BENCHMARK(RsaRequest_Loopback)->UseRealTime();
BENCHMARK(SessionRequest_Loopback)->UseRealTime();

}  // namespace
}  // namespace valo

BENCHMARK_MAIN();
