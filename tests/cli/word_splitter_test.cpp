#include "app/cli/word_splitter.h"

#include <gtest/gtest.h>

namespace valo::cli {
namespace {

std::vector<std::string> texts(const SplitResult& result) {
  std::vector<std::string> out;
  for (const Word& word : result.words) out.push_back(word.text);
  return out;
}

TEST(WordSplitterTest, SplitsLikeAShell) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {" \t\r", {}},
      {"getClientVersion", {"getClientVersion"}},
      {"  doLogin\tA123456789   secret  ", {"doLogin", "A123456789", "secret"}},
      {"doLogin A1 'pass word'", {"doLogin", "A1", "pass word"}},
      {"x 'a\"b\\c'", {"x", "a\"b\\c"}},
      {"x \"a 'b' \\\"c\\\" \\\\ \\$ \\`\"", {"x", "a 'b' \"c\" \\ $ `"}},
      // Inside double quotes a backslash before any other character stays.
      {"x \"C:\\share\\n\"", {"x", "C:\\share\\n"}},
      {"x a\\ b \\'c", {"x", "a b", "'c"}},
      {"x ab'cd'\"ef\"g", {"x", "abcdefg"}},
      {"openFileManager ''", {"openFileManager", ""}},
      {"x \"\" ''", {"x", "", ""}},
      {"x 憑證 '密碼 一'", {"x", "憑證", "密碼 一"}},
      {"x # not a comment", {"x", "#", "not", "a", "comment"}},
  };
  for (const Case& c : cases) {
    const SplitResult result = splitWords(c.line);
    ASSERT_TRUE(result.ok) << c.line << ": " << result.error;
    EXPECT_EQ(texts(result), c.words) << c.line;
  }
}

TEST(WordSplitterTest, MarksQuotedWordsSoALiteralDashDiffersFromABareOne) {
  const SplitResult result = splitWords("doLogin - '-' \"-\" \\- -x");
  ASSERT_TRUE(result.ok);
  const std::vector<Word> expected = {{"doLogin", false}, {"-", false}, {"-", true},
                                      {"-", true},        {"-", true},  {"-x", false}};
  EXPECT_EQ(result.words, expected);
}

TEST(WordSplitterTest, RejectsUnterminatedQuotesAndATrailingBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"doLogin A1 'secret", "unterminated single quote"},
      {"doLogin \"A1 secret", "unterminated double quote"},
      {"x \"ends in escaped quote\\\"", "unterminated double quote"},
      {"x ab\\", "backslash at the end of the line"},
  };
  for (const auto& [line, error] : cases) {
    const SplitResult result = splitWords(line);
    EXPECT_FALSE(result.ok) << line;
    EXPECT_EQ(result.error, error) << line;
    EXPECT_TRUE(result.words.empty()) << line;
  }
}

}  // namespace
}  // namespace valo::cli
