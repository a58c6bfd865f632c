#ifndef VALO_CORE_BASE64_H_
#define VALO_CORE_BASE64_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace valo {

// Standard Base64 (alphabet A-Z a-z 0-9 + /, "=" padding), no line breaks.
std::string base64Encode(const void* data, size_t length);
std::string base64Encode(std::string_view bytes);

// Lenient decoder. Characters outside the alphabet ("=", white space, line breaks...)
// are skipped; input ends at `length` or at a zero byte met where a group would begin
// (before the group's first alphabet character; a zero byte inside a group is skipped).
// A group cut short with k characters (k = 2, 3) gives k - 1 bytes; one left-over
// character gives none. A group's bytes are written only while the running total fits in
// `capacity`; after the first group that does not fit (or when `out` is null) nothing more
// is written, but `*decodedLength` always receives the full decoded length. Returns true
// only when every decoded byte was written (so true for input that decodes to nothing);
// a null `text` or `decodedLength` returns false and reports nothing.
bool base64Decode(const char* text, size_t length, uint8_t* out, size_t capacity,
                  size_t* decodedLength);

// Decodes the whole text with the lenient rules above (empty when nothing decodes).
std::vector<uint8_t> base64DecodeAll(std::string_view text);

}  // namespace valo

#endif  // VALO_CORE_BASE64_H_
