#ifndef VALO_CORE_CODE_PAGE_H_
#define VALO_CORE_CODE_PAGE_H_

#include <optional>
#include <string>
#include <string_view>

namespace valo {

// Conversions between the program's UTF-8 and a wire code page (iconv name, e.g.
// "CP950"). nullopt when the text holds a character the target cannot represent or
// an invalid byte sequence, or when the code page is unknown; nothing is substituted.
std::optional<std::string> utf8ToCodePage(std::string_view utf8, const std::string& codePage);
std::optional<std::string> codePageToUtf8(std::string_view bytes, const std::string& codePage);

}  // namespace valo

#endif  // VALO_CORE_CODE_PAGE_H_
