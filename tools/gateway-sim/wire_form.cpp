#include "wire_form.h"

namespace valo::sim {
namespace {

bool isAlnum(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int upperHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isLowerHex(char c) { return c >= 'a' && c <= 'f'; }

std::string decodeValue(const std::string& key, std::string_view raw,
                        std::vector<std::string>& violations) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (isAlnum(c)) {
      out.push_back(static_cast<char>(c));
    } else if (c == '+') {
      out.push_back(' ');
    } else if (c == '%' && i + 2 < raw.size()) {
      char h = raw[i + 1];
      char l = raw[i + 2];
      int hv = upperHexValue(h);
      int lv = upperHexValue(l);
      if (hv < 0 || lv < 0) {
        violations.push_back(key + ": percent escape \"%" + std::string(1, h) + std::string(1, l) +
                             "\" is not upper-case hexadecimal");
        hv = hv < 0 && isLowerHex(h) ? h - 'a' + 10 : hv;
        lv = lv < 0 && isLowerHex(l) ? l - 'a' + 10 : lv;
        if (hv < 0 || lv < 0) continue;
      }
      unsigned char b = static_cast<unsigned char>(hv * 16 + lv);
      if (isAlnum(b) || isSpace(b)) {
        violations.push_back(key + ": byte '" + std::string(1, static_cast<char>(b)) +
                             "' must not be percent-encoded");
      }
      out.push_back(static_cast<char>(b));
      i += 2;
    } else {
      violations.push_back(key + ": byte 0x" + std::string(1, "0123456789ABCDEF"[c >> 4]) +
                           std::string(1, "0123456789ABCDEF"[c & 15]) + " is not encoded");
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace

FormParse parseForm(std::string_view body) {
  FormParse parse;
  if (body.empty()) return parse;
  size_t start = 0;
  std::string previousKey;
  bool first = true;
  while (true) {
    size_t end = body.find('&', start);
    std::string_view pair =
        body.substr(start, end == std::string_view::npos ? body.npos : end - start);
    if (pair.empty()) {
      parse.violations.push_back("empty pair (stray \"&\")");
    } else {
      size_t eq = pair.find('=');
      if (eq == std::string_view::npos) {
        parse.violations.push_back("pair without \"=\": " + std::string(pair));
      } else {
        std::string key(pair.substr(0, eq));
        if (key.empty()) parse.violations.push_back("empty key");
        if (key.find('%') != std::string::npos || key.find('+') != std::string::npos) {
          parse.violations.push_back(key + ": key is encoded");
        }
        if (!first && !(previousKey < key)) {
          parse.violations.push_back(key + ": key not in ascending order after " + previousKey);
        }
        previousKey = key;
        first = false;
        parse.fields.push_back({key, decodeValue(key, pair.substr(eq + 1), parse.violations)});
      }
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parse;
}

}  // namespace valo::sim
