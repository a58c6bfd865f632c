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
  if (in == nullptr || length == 0) return std::string();
  // The text is sized once and filled through a pointer: appending character by
  // character pays a capacity check on every character, which doubled the encoder's cost.
  // Filling it with "=" writes the final group's padding in advance.
  std::string out((length + 2) / 3 * 4, '=');
  char* next = out.data();
  size_t i = 0;
  for (; i + 3 <= length; i += 3) {
    const uint32_t group = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
    next[0] = kAlphabet[(group >> 18) & 0x3f];
    next[1] = kAlphabet[(group >> 12) & 0x3f];
    next[2] = kAlphabet[(group >> 6) & 0x3f];
    next[3] = kAlphabet[group & 0x3f];
    next += 4;
  }
  const size_t rest = length - i;
  if (rest > 0) {
    // The final one or two bytes are zero-filled to a whole group; the "=" already in
    // place marks what is missing.
    const uint32_t group = (uint32_t{in[i]} << 16) | (rest == 2 ? uint32_t{in[i + 1]} << 8 : 0);
    next[0] = kAlphabet[(group >> 18) & 0x3f];
    next[1] = kAlphabet[(group >> 12) & 0x3f];
    if (rest == 2) next[2] = kAlphabet[(group >> 6) & 0x3f];
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
  // Writes the first `count` bytes of a decoded group (24 bits, most significant byte
  // first). A group goes to the buffer only while the running total still fits; once a
  // group does not fit (or there is no buffer), writing stops for good but the length
  // keeps counting. The bytes are stored straight from `group`: staging them in a small
  // array first made the compiler copy it through the stack with a load wider than the
  // stores that filled it, a store-forwarding stall on every group.
  auto emit = [&](uint32_t group, size_t count) {
    if (complete && out != nullptr && count <= capacity - total) {
      out[total] = static_cast<uint8_t>(group >> 16);
      if (count > 1) out[total + 1] = static_cast<uint8_t>(group >> 8);
      if (count > 2) out[total + 2] = static_cast<uint8_t>(group);
    } else {
      complete = false;
    }
    total += count;
  };

  uint32_t group = 0;  // the sextets collected so far, the first in the highest bits
  size_t collected = 0;
  size_t pos = 0;
  while (pos < length) {
    if (collected == 0) {
      // Fast path for what nearly every body is: whole groups of four alphabet
      // characters, looked up and decoded at once. Any character outside the alphabet
      // ("=", a line break, a zero byte) makes a group fail the check and leaves it to the
      // character-by-character loop below, which applies every lenient rule; the fast path
      // resumes at the next group boundary. Both paths decode a clean group identically.
      while (length - pos >= 4) {
        const int s0 = kDecodeTable[static_cast<uint8_t>(text[pos])];
        const int s1 = kDecodeTable[static_cast<uint8_t>(text[pos + 1])];
        const int s2 = kDecodeTable[static_cast<uint8_t>(text[pos + 2])];
        const int s3 = kDecodeTable[static_cast<uint8_t>(text[pos + 3])];
        if ((s0 | s1 | s2 | s3) < 0) break;  // kNotInAlphabet is the only negative entry
        emit((static_cast<uint32_t>(s0) << 18) | (static_cast<uint32_t>(s1) << 12) |
                 (static_cast<uint32_t>(s2) << 6) | static_cast<uint32_t>(s3),
             3);
        pos += 4;
      }
      if (pos == length) break;
    }

    const auto c = static_cast<uint8_t>(text[pos++]);
    // A zero byte ends the text only between groups; inside a group it is skipped like
    // any other character outside the alphabet.
    if (c == 0 && collected == 0) break;
    const int8_t value = kDecodeTable[c];
    if (value == kNotInAlphabet) continue;
    group = (group << 6) | static_cast<uint32_t>(value);
    if (++collected == 4) {
      emit(group, 3);
      group = 0;
      collected = 0;
    }
  }
  if (collected >= 2) {
    // A short final group of k characters carries k - 1 whole bytes; the missing
    // sextets count as zero.
    emit(group << (6 * (4 - collected)), collected - 1);
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
