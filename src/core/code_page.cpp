#include "core/code_page.h"

#include <cerrno>

namespace valo {
namespace {

// A name iconv would read as a conversion option ("//TRANSLIT", "//IGNORE") must never
// reach it: those substitute or drop characters instead of failing.
bool isPlainCodePageName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos;
}

// What iconv_open returns on failure.
iconv_t invalidDescriptor() { return reinterpret_cast<iconv_t>(-1); }

}  // namespace

CodePageConverter::CodePageConverter(const std::string& to, const std::string& from)
    : cd_(isPlainCodePageName(to) && isPlainCodePageName(from)
              ? ::iconv_open(to.c_str(), from.c_str())
              : invalidDescriptor()) {}

CodePageConverter::~CodePageConverter() {
  if (valid()) ::iconv_close(cd_);
}

bool CodePageConverter::valid() const { return cd_ != invalidDescriptor(); }

std::optional<std::string> CodePageConverter::convert(std::string_view input) {
  if (!valid()) return std::nullopt;
  // A finished text leaves the descriptor in its initial state (the flush below); only
  // one that failed part-way may have left it shifted.
  if (interrupted_) ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  interrupted_ = true;

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
    const size_t result = flushing ? ::iconv(cd_, nullptr, nullptr, &out, &outLeft)
                                   : ::iconv(cd_, &in, &inLeft, &out, &outLeft);
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
  interrupted_ = false;
  output.resize(produced);
  return output;
}

std::optional<std::string> utf8ToCodePage(std::string_view utf8, const std::string& codePage) {
  return CodePageConverter(codePage, "UTF-8").convert(utf8);
}

std::optional<std::string> codePageToUtf8(std::string_view bytes, const std::string& codePage) {
  return CodePageConverter("UTF-8", codePage).convert(bytes);
}

}  // namespace valo
