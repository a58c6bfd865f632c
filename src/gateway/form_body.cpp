#include "gateway/form_body.h"

namespace valo {
namespace {

bool isAsciiAlphanumeric(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isWhiteSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string urlEncodeFormValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size() * 3);
  for (unsigned char c : value) {
    if (isAsciiAlphanumeric(c)) {
      encoded.push_back(static_cast<char>(c));
    } else if (isWhiteSpace(c)) {
      encoded.push_back('+');
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[c >> 4]);
      encoded.push_back(kHex[c & 0x0F]);
    }
  }
  return encoded;
}

std::string buildFormBody(const ParamMap& params) {
  std::string body;
  bool first = true;
  for (const auto& [key, value] : params) {
    if (!first) body.push_back('&');
    first = false;
    body += key;
    body.push_back('=');
    body += urlEncodeFormValue(value);
  }
  return body;
}

}  // namespace valo
