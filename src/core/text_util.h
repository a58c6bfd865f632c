#ifndef VALO_CORE_TEXT_UTIL_H_
#define VALO_CORE_TEXT_UTIL_H_

#include <string>
#include <string_view>
#include <vector>

namespace valo {

// The C library's atoi: optional leading white space, optional sign, then the leading
// decimal digits; 0 when there are none ("12abc" -> 12, "x1" -> 0). Saturates instead
// of overflowing.
int leadingDigitsToInt(std::string_view text);

// Removes leading and trailing white space (space, \t, \n, \v, \f, \r).
std::string trimWhiteSpace(std::string_view text);

// The pieces between delimiters: an empty text gives no pieces, a delimiter at the very
// end adds no empty piece, adjacent delimiters give empty pieces.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// Replaces every occurrence of `from` by `to` (plain text, not a pattern).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace valo

#endif  // VALO_CORE_TEXT_UTIL_H_
