#include "core/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace valo {
namespace {

// Owns a conversion descriptor; invalid when the code page is unknown to iconv.
class IconvHandle {
 public:
  IconvHandle(const std::string& to, const std::string& from)
      : cd_(::iconv_open(to.c_str(), from.c_str())) {}
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  ~IconvHandle() {
    if (valid()) ::iconv_close(cd_);
  }

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// A name iconv would read as a conversion option ("//TRANSLIT", "//IGNORE") must never
// reach it: those substitute or drop characters instead of failing.
bool isPlainCodePageName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos;
}

std::optional<std::string> convert(std::string_view input, const std::string& to,
                                   const std::string& from) {
  if (!isPlainCodePageName(to) || !isPlainCodePageName(from)) return std::nullopt;
  IconvHandle handle(to, from);
  if (!handle.valid()) return std::nullopt;

  std::string output(input.size() * 2 + 16, '\0');
  size_t produced = 0;
  // iconv takes a non-const input pointer by tradition; it never writes through it.
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  bool flushing = false;
  for (;;) {
    char* out = output.data() + produced;
    size_t outLeft = output.size() - produced;
    // After the input is consumed, one call with no input returns a stateful encoding to
    // its initial shift state.
    const size_t result = flushing ? ::iconv(handle.get(), nullptr, nullptr, &out, &outLeft)
                                   : ::iconv(handle.get(), &in, &inLeft, &out, &outLeft);
    produced = output.size() - outLeft;
    if (result == static_cast<size_t>(-1)) {
      if (errno != E2BIG) return std::nullopt;  // EILSEQ or a truncated sequence (EINVAL)
      output.resize(output.size() * 2);
      continue;
    }
    // A positive count means characters were converted in a non-reversible way, which
    // is a substitution by another name.
    if (result != 0) return std::nullopt;
    if (flushing) break;
    flushing = true;
  }
  output.resize(produced);
  return output;
}

}  // namespace

std::optional<std::string> utf8ToCodePage(std::string_view utf8, const std::string& codePage) {
  return convert(utf8, codePage, "UTF-8");
}

std::optional<std::string> codePageToUtf8(std::string_view bytes, const std::string& codePage) {
  return convert(bytes, "UTF-8", codePage);
}

}  // namespace valo
