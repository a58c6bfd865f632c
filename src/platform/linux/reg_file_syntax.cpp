#include "platform/linux/reg_file_syntax.h"

#include <cstdint>
#include <cstdio>

namespace valo::platform {
namespace {

// Lines wrap like a registry export: no physical line longer than this.
constexpr size_t kHexLineWidth = 78;

// Bytes outside valid UTF-8 travel as U+DC80..U+DCFF, which no valid UTF-8 text produces.
constexpr char16_t kEscapeBase = 0xDC00;

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (a != prefix[i]) return false;
  }
  return true;
}

std::string_view trimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when invalid.
size_t decodeUtf8At(std::string_view text, size_t i, uint32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return length;
}

// UTF-16LE bytes of `text` followed by a terminating zero unit.
std::string utf16leBytes(std::string_view text) {
  std::u16string units;
  size_t i = 0;
  while (i < text.size()) {
    uint32_t cp = 0;
    const size_t length = decodeUtf8At(text, i, cp);
    if (length == 0) {
      units.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[i])));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  units.push_back(0);
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// The text of UTF-16LE bytes (one terminating zero unit dropped); nullopt for an odd count.
std::optional<std::string> textFromUtf16le(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  if (!units.empty() && units.back() == 0) units.pop_back();
  std::string text;
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
      text.push_back(static_cast<char>(unit - kEscapeBase));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(text, 0xFFFD);
    } else {
      appendUtf8(text, unit);
    }
  }
  return text;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// Reads the quoted text that starts at line[pos]; pos moves past the closing quote.
std::optional<std::string> readQuoted(std::string_view line, size_t& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string text;
  for (size_t i = pos + 1; i < line.size(); ++i) {
    if (line[i] == '\\') {
      if (i + 1 >= line.size()) return std::nullopt;
      text.push_back(line[++i]);
    } else if (line[i] == '"') {
      pos = i + 1;
      return text;
    } else {
      text.push_back(line[i]);
    }
  }
  return std::nullopt;
}

std::string hexList(std::string prefix, std::string_view bytes) {
  std::string out = std::move(prefix);
  size_t lineStart = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char piece[4];
    std::snprintf(piece, sizeof piece, "%02x", static_cast<unsigned char>(bytes[i]));
    std::string_view text(piece, 2);
    const size_t pieceLength = i + 1 < bytes.size() ? 3 : 2;
    if (i > 0 && out.size() - lineStart + pieceLength + 1 > kHexLineWidth) {
      out += "\\\n  ";
      lineStart = out.size() - 2;
    }
    out += text;
    if (i + 1 < bytes.size()) out.push_back(',');
  }
  return out;
}

std::optional<std::string> parseHexList(std::string_view list) {
  std::string bytes;
  list = trimSpaces(list);
  if (list.empty()) return bytes;
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    const std::string_view token =
        trimSpaces(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
    if (token.empty() || token.size() > 2 || !isHexDigit(token[0]) ||
        (token.size() == 2 && !isHexDigit(token[1]))) {
      return std::nullopt;
    }
    int byte = hexDigitValue(token[0]);
    if (token.size() == 2) byte = byte * 16 + hexDigitValue(token[1]);
    bytes.push_back(static_cast<char>(byte));
    if (comma == std::string_view::npos) return bytes;
    start = comma + 1;
  }
}

std::optional<RegistryValue> parseData(std::string_view data) {
  if (!data.empty() && data.front() == '"') {
    size_t pos = 0;
    std::optional<std::string> text = readQuoted(data, pos);
    if (!text || !trimSpaces(data.substr(pos)).empty()) return std::nullopt;
    return RegistryValue::String(std::move(*text));
  }
  if (startsWithNoCase(data, "dword:")) {
    const std::string_view digits = trimSpaces(data.substr(6));
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t number = 0;
    for (char c : digits) {
      if (!isHexDigit(c)) return std::nullopt;
      number = number * 16 + static_cast<uint32_t>(hexDigitValue(c));
    }
    return RegistryValue::Dword(number);
  }
  if (startsWithNoCase(data, "hex:")) {
    std::optional<std::string> bytes = parseHexList(data.substr(4));
    if (!bytes) return std::nullopt;
    return RegistryValue::Binary(std::move(*bytes));
  }
  if (startsWithNoCase(data, "hex(")) {
    const size_t close = data.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12) return std::nullopt;
    uint32_t type = 0;
    for (char c : data.substr(4, close - 4)) {
      if (!isHexDigit(c)) return std::nullopt;
      type = type * 16 + static_cast<uint32_t>(hexDigitValue(c));
    }
    std::optional<std::string> bytes = parseHexList(data.substr(close + 2));
    if (!bytes) return std::nullopt;
    switch (type) {
      case 1:
      case 2: {
        std::optional<std::string> text = textFromUtf16le(*bytes);
        if (!text) return std::nullopt;
        return type == 1 ? RegistryValue::String(std::move(*text))
                         : RegistryValue::ExpandString(std::move(*text));
      }
      case 3:
        return RegistryValue::Binary(std::move(*bytes));
      case 4: {
        if (bytes->size() != 4) return std::nullopt;
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
          number = (number << 8) | static_cast<unsigned char>((*bytes)[i]);
        return RegistryValue::Dword(number);
      }
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

bool hasControlCharacter(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

}  // namespace

bool isStorableName(std::string_view name) {
  return name.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

std::string formatValueLine(const std::string& name, const RegistryValue& value) {
  std::string line = name.empty() ? std::string("@") : quoted(name);
  line.push_back('=');
  switch (value.type) {
    case RegistryValueType::kString:
      if (hasControlCharacter(value.text))
        return hexList(line + "hex(1):", utf16leBytes(value.text));
      return line + quoted(value.text);
    case RegistryValueType::kExpandString:
      return hexList(line + "hex(2):", utf16leBytes(value.text));
    case RegistryValueType::kDword: {
      char digits[16];
      std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.dword));
      return line + "dword:" + digits;
    }
    case RegistryValueType::kBinary:
      return hexList(line + "hex:", value.binary);
  }
  return line;
}

std::optional<std::pair<std::string, RegistryValue>> parseValueLine(std::string_view line) {
  std::string name;
  size_t pos = 0;
  if (!line.empty() && line.front() == '@') {
    pos = 1;
  } else {
    std::optional<std::string> quotedName = readQuoted(line, pos);
    if (!quotedName) return std::nullopt;
    name = std::move(*quotedName);
  }
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  std::optional<RegistryValue> value = parseData(trimSpaces(line.substr(pos + 1)));
  if (!value || !isStorableName(name)) return std::nullopt;
  return std::make_pair(std::move(name), std::move(*value));
}

bool isContinuedValueLine(std::string_view line) {
  if (line.empty() || line.back() != '\\') return false;
  if (line.front() != '"' && line.front() != '@') return false;
  for (size_t i = 0; i + 4 <= line.size(); ++i) {
    if (line[i] == '=' && startsWithNoCase(line.substr(i + 1), "hex")) return true;
  }
  return false;
}

}  // namespace valo::platform
