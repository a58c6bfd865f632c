#include "core/text_util.h"

#include <climits>
#include <iterator>

#include "core/file_util.h"

namespace valo {
namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int leadingDigitsToInt(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && isWhiteSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Accumulate towards the sign so INT_MIN is reachable without overflow.
  long long value = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    const int digit = text[pos] - '0';
    value = negative ? value * 10 - digit : value * 10 + digit;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
  }
  return static_cast<int>(value);
}

std::string trimWhiteSpace(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isWhiteSpace(text[begin])) ++begin;
  while (end > begin && isWhiteSpace(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t found = text.find(delimiter, start);
    if (found == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      break;
    }
    pieces.emplace_back(text.substr(start, found - start));
    start = found + delimiter.size();
  }
  return pieces;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t found; (found = text.find(from, start)) != std::string_view::npos;
       start = found + from.size()) {
    out.append(text.substr(start, found - start));
    out.append(to);
  }
  out.append(text.substr(start));
  return out;
}

std::string regexReplaceAll(std::string_view text, const std::regex& pattern,
                            const std::string& format) {
  std::string out;
  std::regex_replace(std::back_inserter(out), text.begin(), text.end(), pattern, format);
  return out;
}

std::string regexReplaceFirst(std::string_view text, const std::regex& pattern,
                              const std::string& format) {
  std::string out;
  std::regex_replace(std::back_inserter(out), text.begin(), text.end(), pattern, format,
                     std::regex_constants::format_first_only);
  return out;
}

std::optional<std::vector<std::string>> regexMatchGroups(std::string_view text,
                                                         const std::regex& pattern) {
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_match(text.begin(), text.end(), match, pattern)) return std::nullopt;
  std::vector<std::string> groups;
  groups.reserve(match.size());
  for (const auto& group : match) groups.push_back(group.matched ? group.str() : std::string());
  return groups;
}

std::string lastPathComponent(std::string_view path) {
  const size_t last = path.rfind(kPathSeparator);
  if (last == std::string_view::npos || last + 1 == path.size()) return std::string(path);
  // An ECMAScript "." stops at line terminators, so the leading ".*" cannot reach a
  // separator that lies beyond one; the expression then does not match at all.
  if (path.find_first_of("\r\n") < last) return std::string(path);
  return std::string(path.substr(last + 1));
}

}  // namespace valo
