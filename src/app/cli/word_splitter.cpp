#include "app/cli/word_splitter.h"

namespace valo::cli {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The characters a backslash escapes inside double quotes; before any other it is kept.
bool isEscapableInDoubleQuotes(char c) { return c == '"' || c == '\\' || c == '$' || c == '`'; }

SplitResult failure(std::string error) {
  SplitResult result;
  result.error = std::move(error);
  return result;
}

}  // namespace

SplitResult splitWords(std::string_view line) {
  SplitResult result;
  size_t i = 0;
  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;

    Word word;
    while (i < line.size() && !isBlank(line[i])) {
      const char c = line[i];
      if (c == '\'') {
        const size_t close = line.find('\'', i + 1);
        if (close == std::string_view::npos) return failure("unterminated single quote");
        word.text.append(line.substr(i + 1, close - i - 1));
        word.quoted = true;
        i = close + 1;
      } else if (c == '"') {
        word.quoted = true;
        ++i;
        while (true) {
          if (i == line.size()) return failure("unterminated double quote");
          const char d = line[i];
          if (d == '"') {
            ++i;
            break;
          }
          if (d == '\\' && i + 1 < line.size() && isEscapableInDoubleQuotes(line[i + 1])) {
            word.text.push_back(line[i + 1]);
            i += 2;
          } else {
            word.text.push_back(d);
            ++i;
          }
        }
      } else if (c == '\\') {
        if (i + 1 == line.size()) return failure("backslash at the end of the line");
        word.text.push_back(line[i + 1]);
        word.quoted = true;
        i += 2;
      } else {
        word.text.push_back(c);
        ++i;
      }
    }
    result.words.push_back(std::move(word));
  }
  result.ok = true;
  return result;
}

}  // namespace valo::cli
