#include "core/base64.h"

#include <array>

namespace valo {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int8_t kNotInAlphabet = -1;

constexpr std::array<int8_t, 256> makeDecodeTable() {
  std::array<int8_t, 256> table{};
  table.fill(kNotInAlphabet);
  for (int i = 0; i < 64; ++i) table[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
  return table;
}
constexpr std::array<int8_t, 256> kDecodeTable = makeDecodeTable();

}  // namespace

std::string base64Encode(const void* data, size_t length) {
  const auto* in = static_cast<const uint8_t*>(data);
  std::string out;
  if (in == nullptr || length == 0) return out;
  out.reserve((length + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= length; i += 3) {
    const uint32_t group = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
    out += kAlphabet[(group >> 18) & 0x3f];
    out += kAlphabet[(group >> 12) & 0x3f];
    out += kAlphabet[(group >> 6) & 0x3f];
    out += kAlphabet[group & 0x3f];
  }
  const size_t rest = length - i;
  if (rest > 0) {
    // The final one or two bytes are zero-filled to a whole group; "=" marks what is missing.
    const uint32_t group = (uint32_t{in[i]} << 16) | (rest == 2 ? uint32_t{in[i + 1]} << 8 : 0);
    out += kAlphabet[(group >> 18) & 0x3f];
    out += kAlphabet[(group >> 12) & 0x3f];
    out += rest == 2 ? kAlphabet[(group >> 6) & 0x3f] : '=';
    out += '=';
  }
  return out;
}

std::string base64Encode(std::string_view bytes) {
  return base64Encode(bytes.data(), bytes.size());
}

bool base64Decode(const char* text, size_t length, uint8_t* out, size_t capacity,
                  size_t* decodedLength) {
  if (text == nullptr || decodedLength == nullptr) return false;

  size_t total = 0;
  bool complete = true;
  // Bytes of a group go to the buffer only while the running total still fits; once a
  // group does not fit (or there is no buffer), writing stops for good but the length
  // keeps counting.
  auto emit = [&](const uint8_t* bytes, size_t count) {
    if (complete && out != nullptr && count <= capacity - total) {
      for (size_t k = 0; k < count; ++k) out[total + k] = bytes[k];
    } else {
      complete = false;
    }
    total += count;
  };

  std::array<uint8_t, 4> sextets{};
  size_t collected = 0;
  for (size_t pos = 0; pos < length; ++pos) {
    const auto c = static_cast<uint8_t>(text[pos]);
    // A zero byte ends the text only between groups; inside a group it is skipped like
    // any other character outside the alphabet.
    if (c == 0 && collected == 0) break;
    const int8_t value = kDecodeTable[c];
    if (value == kNotInAlphabet) continue;
    sextets[collected++] = static_cast<uint8_t>(value);
    if (collected == 4) {
      const uint8_t bytes[3] = {
          static_cast<uint8_t>((sextets[0] << 2) | (sextets[1] >> 4)),
          static_cast<uint8_t>((sextets[1] << 4) | (sextets[2] >> 2)),
          static_cast<uint8_t>((sextets[2] << 6) | sextets[3]),
      };
      emit(bytes, 3);
      collected = 0;
    }
  }
  if (collected >= 2) {
    // A short final group of k characters carries k - 1 whole bytes.
    const uint8_t bytes[2] = {
        static_cast<uint8_t>((sextets[0] << 2) | (sextets[1] >> 4)),
        static_cast<uint8_t>((sextets[1] << 4) | (sextets[2] >> 2)),
    };
    emit(bytes, collected - 1);
  }

  *decodedLength = total;
  return complete;
}

std::vector<uint8_t> base64DecodeAll(std::string_view text) {
  if (text.empty()) return {};
  size_t length = 0;
  base64Decode(text.data(), text.size(), nullptr, 0, &length);
  std::vector<uint8_t> bytes(length);
  if (length > 0) base64Decode(text.data(), text.size(), bytes.data(), bytes.size(), &length);
  return bytes;
}

}  // namespace valo
