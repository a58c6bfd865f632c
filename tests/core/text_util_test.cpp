#include "core/text_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <string>
#include <vector>

#include "core/file_util.h"

namespace valo {
namespace {

using Pieces = std::vector<std::string>;

TEST(TextUtilTest, LeadingDigitsToIntFollowsAtoi) {
  const struct {
    std::string in;
    int out;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"42", 42},
      {"12abc", 12},
      {"x1", 0},
      {"  \t\n\v\f\r7", 7},
      {"-15", -15},
      {"+15", 15},
      {"- 5", 0},
      {"+-5", 0},
      {"3 4", 3},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"-99999999999999999999999", INT_MIN},
      {"\xef\xbc\x91", 0},  // a full-width digit is not a digit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(leadingDigitsToInt(c.in), c.out) << '"' << c.in << '"';
  }
}

TEST(TextUtilTest, TrimWhiteSpaceBothSides) {
  EXPECT_EQ(trimWhiteSpace(""), "");
  EXPECT_EQ(trimWhiteSpace(" \t\r\n\v\f"), "");
  EXPECT_EQ(trimWhiteSpace("  a b \n"), "a b");
  EXPECT_EQ(trimWhiteSpace("/home/u/x.pfx"), "/home/u/x.pfx");
  EXPECT_EQ(trimWhiteSpace("\xe3\x80\x80x"), "\xe3\x80\x80x");  // only ASCII white space
}

TEST(TextUtilTest, SplitTextPieces) {
  const struct {
    std::string text, delimiter;
    Pieces out;
  } cases[] = {
      {"", ",", {}},
      {"a", ",", {"a"}},
      {"a,b", ",", {"a", "b"}},
      {"a,b,", ",", {"a", "b"}},
      {"a,,b", ",", {"a", "", "b"}},
      {",a", ",", {"", "a"}},
      {",", ",", {""}},
      {"a,,", ",", {"a", ""}},
      {"S_CN=x//O_CN=y", "//", {"S_CN=x", "O_CN=y"}},
      {"S_CN=x//", "//", {"S_CN=x"}},
      {"a////b", "//", {"a", "", "b"}},
      {"a/b//c", "//", {"a/b", "c"}},
      {"a///b", "//", {"a", "/b"}},
      {"abc", "", {"abc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(splitText(c.text, c.delimiter), c.out) << '"' << c.text << '"';
  }
}

TEST(TextUtilTest, ReplaceAllPlainText) {
  EXPECT_EQ(replaceAll("#userHome#/x/#userHome#", "#userHome#", "/home/u"), "/home/u/x//home/u");
  EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");  // replacements are not rescanned
  EXPECT_EQ(replaceAll("a.b", ".", "\\"), "a\\b");    // not a pattern
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(replaceAll("#cn#.pfx", "#cn#", ""), ".pfx");
}

TEST(TextUtilTest, RegexHelpers) {
  static const std::regex backslash("\\\\");
  EXPECT_EQ(regexReplaceAll("a\\b\\\\c", backslash, "\\\\"), "a\\\\b\\\\\\\\c");

  static const std::regex notDigitOrDot("[^0-9\\.]");
  EXPECT_EQ(regexReplaceAll(" 203.0.113.7\r\n", notDigitOrDot, ""), "203.0.113.7");

  static const std::regex majorVersion("^([0-9]+)(\\.[0-9]+)*$");
  EXPECT_EQ(regexReplaceAll("120.0.6099.71", majorVersion, "$1"), "120");
  EXPECT_EQ(regexReplaceAll("beta", majorVersion, "$1"), "beta");

  static const std::regex leadingOrTrailing("^\\s+|\\s+$");
  EXPECT_EQ(regexReplaceFirst("  x  ", leadingOrTrailing, ""), "x  ");
  EXPECT_EQ(regexReplaceAll("  x  ", leadingOrTrailing, ""), "x");

  static const std::regex storeItems("^([^,]+),?([^,]+)?$");
  EXPECT_EQ(regexMatchGroups("pfx,ieCertStore", storeItems),
            (Pieces{"pfx,ieCertStore", "pfx", "ieCertStore"}));
  EXPECT_EQ(regexMatchGroups("ieCertStore", storeItems),
            (Pieces{"ieCertStore", "ieCertStore", ""}));
  EXPECT_EQ(regexMatchGroups("a,b,c", storeItems), std::nullopt);
  EXPECT_EQ(regexMatchGroups("", storeItems), std::nullopt);
}

// The helper must give what the expression it stands for gives, for every shape of input.
TEST(TextUtilTest, LastPathComponentMatchesItsExpression) {
  const std::string sep(1, kPathSeparator);
  static const std::regex lastComponent("^.*" + sep + "([^" + sep + "]+)$");
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"Desktop", "Desktop"},
      {"%USERPROFILE%/Desktop", "Desktop"},
      {"/home/u/桌面", "桌面"},
      {"/home/u/", "/home/u/"},
      {"/", "/"},
      {"/x", "x"},
      {"a//b", "b"},
      {"a/b\nc", "b\nc"},
      {"a\n/b", "a\n/b"},
      {"a\r/b/c", "a\r/b/c"},
      {"a/b c", "b c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(lastPathComponent(c.in), c.out);
    EXPECT_EQ(lastPathComponent(c.in), regexReplaceAll(c.in, lastComponent, "$1"));
  }
}

}  // namespace
}  // namespace valo
