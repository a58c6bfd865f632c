#ifndef VALO_CORE_CODE_PAGE_H_
#define VALO_CORE_CODE_PAGE_H_

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace valo {

// Conversions between the program's UTF-8 and a wire code page (iconv name, e.g.
// "CP950"). nullopt when the text holds a character the target cannot represent or
// an invalid byte sequence, or when the code page is unknown; nothing is substituted.
std::optional<std::string> utf8ToCodePage(std::string_view utf8, const std::string& codePage);
std::optional<std::string> codePageToUtf8(std::string_view bytes, const std::string& codePage);

// One direction of conversion, opened once for many texts: opening a conversion costs
// more than converting a short value, so a caller converting every value of a request
// keeps one of these. Each text is converted on its own (from the initial shift state,
// ending in it), with the rules of the functions above. Not for concurrent use.
class CodePageConverter {
 public:
  CodePageConverter(const std::string& to, const std::string& from);
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;
  ~CodePageConverter();

  // False when either name is unknown to iconv or carries conversion options.
  bool valid() const;

  // nullopt when the converter is not valid or the text does not convert exactly.
  std::optional<std::string> convert(std::string_view text);

 private:
  iconv_t cd_;
  bool interrupted_ = false;  // the last text failed part-way
};

}  // namespace valo

#endif  // VALO_CORE_CODE_PAGE_H_
