#include "app/bridge_reply.h"

#include <cstdio>

namespace valo {

std::string escapeScriptString(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 8);
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    switch (c) {
      case '\\':
        out += "\\\\";
        continue;
      case '\'':
        out += "\\'";
        continue;
      case '"':
        out += "\\\"";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\t':
        out += "\\t";
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else if (c == '<' && i + 1 < value.size() && value[i + 1] == '/') {
      // "</script>" inside a literal would end an inline script element.
      out += "<\\/";
      ++i;
    } else if (c == 0xE2 && i + 2 < value.size() &&
               static_cast<unsigned char>(value[i + 1]) == 0x80 &&
               (static_cast<unsigned char>(value[i + 2]) == 0xA8 ||
                static_cast<unsigned char>(value[i + 2]) == 0xA9)) {
      // U+2028 and U+2029 end a line inside a literal for older script engines.
      out += static_cast<unsigned char>(value[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

ReplyBuilder::ReplyBuilder(int code, std::string_view message) : text_("{") {
  add("errCode", code);
  add("errMsg", message);
}

ReplyBuilder& ReplyBuilder::add(std::string_view key, std::string_view value) {
  if (text_.size() > 1) text_ += ',';
  text_ += '\'';
  text_ += escapeScriptString(key);
  text_ += "':'";
  text_ += escapeScriptString(value);
  text_ += '\'';
  return *this;
}

ReplyBuilder& ReplyBuilder::add(std::string_view key, int value) {
  return add(key, std::to_string(value));
}

ReplyBuilder& ReplyBuilder::addAll(const ParamMap& fields) {
  for (const auto& [key, value] : fields) add(key, value);
  return *this;
}

std::string codeReply(int code, std::string_view message) {
  return ReplyBuilder(code, message).str();
}

std::string certInfoReply(int code, std::string_view message, const ParamMap& fields) {
  ReplyBuilder reply(code, message);
  if (code == 0) reply.addAll(fields);
  return reply.str();
}

}  // namespace valo
