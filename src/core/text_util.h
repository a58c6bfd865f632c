#ifndef VALO_CORE_TEXT_UTIL_H_
#define VALO_CORE_TEXT_UTIL_H_

#include <optional>
#include <regex>
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
// end adds no empty piece, adjacent delimiters give empty pieces. The delimiter may be
// longer than one character ("//"); an empty delimiter gives the whole text as one piece.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// Replaces every occurrence of `from` by `to` (plain text, not a pattern). An empty
// `from` leaves the text unchanged.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Regular-expression replacement with ECMAScript format rules ("$1", "$&", "$$"); text
// outside the matches is kept. Callers keep each pattern as a function-local
// `static const std::regex` so it is compiled once.
std::string regexReplaceAll(std::string_view text, const std::regex& pattern,
                            const std::string& format);
// Only the first match is replaced (a pattern without the global flag).
std::string regexReplaceFirst(std::string_view text, const std::regex& pattern,
                              const std::string& format);

// When the whole text matches, the texts of group 0 (the whole text) and of every
// capture group in order, a group that did not take part being empty; else nullopt.
std::optional<std::vector<std::string>> regexMatchGroups(std::string_view text,
                                                         const std::regex& pattern);

// The text after the last path separator. The whole text is returned unchanged when it
// has no separator, ends with one, or holds a line break before the last one: the same
// result as replacing "^.*<sep>([^<sep>]+)$" by "$1" with an ECMAScript expression.
std::string lastPathComponent(std::string_view path);

}  // namespace valo

#endif  // VALO_CORE_TEXT_UTIL_H_
