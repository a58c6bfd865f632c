#ifndef VALO_APP_CLI_WORD_SPLITTER_H_
#define VALO_APP_CLI_WORD_SPLITTER_H_

#include <string>
#include <string_view>
#include <vector>

namespace valo::cli {

struct Word {
  std::string text;
  // True when any part of the word was quoted or escaped: such a word is always taken
  // literally, so '-' is a dash while a bare - asks for the value on standard input.
  bool quoted = false;

  bool operator==(const Word&) const = default;
};

struct SplitResult {
  bool ok = false;
  std::vector<Word> words;
  // When !ok: what is wrong with the line, without the line number.
  std::string error;
};

// Splits one line of a call script into words as a POSIX shell does, without any
// expansion: blanks (space, tab, carriage return) separate words; 'single quotes' keep
// everything up to the next single quote; "double quotes" keep everything up to the next
// unescaped double quote, where a backslash escapes only ", \, $ and ` and is kept before
// any other character; outside quotes a backslash keeps the next character. '' and ""
// give an empty word. An unterminated quote, or a backslash that ends the line, fails.
SplitResult splitWords(std::string_view line);

}  // namespace valo::cli

#endif  // VALO_APP_CLI_WORD_SPLITTER_H_
