#include "core/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace valo {
namespace {

const std::string kCertificateUtf8 = "憑證";
const std::string kCertificateBig5("\xbe\xcc\xc3\xd2", 4);

TEST(CodePageTest, ChineseRoundTripsThroughCp950) {
  EXPECT_EQ(utf8ToCodePage(kCertificateUtf8, "CP950"), kCertificateBig5);
  EXPECT_EQ(codePageToUtf8(kCertificateBig5, "CP950"), kCertificateUtf8);

  const std::string message = "<53401>使用者按下「取消」鍵或關閉視窗, 請重新指定檔案儲存位置";
  const auto wire = utf8ToCodePage(message, "CP950");
  ASSERT_TRUE(wire.has_value());
  EXPECT_NE(*wire, message);
  EXPECT_EQ(codePageToUtf8(*wire, "CP950"), message);
}

TEST(CodePageTest, AsciiPassesUnchanged) {
  const std::string ascii = "version=1.3&cn=A123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
  EXPECT_EQ(utf8ToCodePage(ascii, "CP950"), ascii);
  EXPECT_EQ(codePageToUtf8(ascii, "CP950"), ascii);
  EXPECT_EQ(utf8ToCodePage("", "CP950"), "");
  EXPECT_EQ(codePageToUtf8("", "CP950"), "");
}

TEST(CodePageTest, LongTextIsConvertedWhole) {
  std::string utf8;
  std::string big5;
  for (int i = 0; i < 5000; ++i) {
    utf8 += kCertificateUtf8 + "x";
    big5 += kCertificateBig5 + "x";
  }
  EXPECT_EQ(utf8ToCodePage(utf8, "CP950"), big5);
  EXPECT_EQ(codePageToUtf8(big5, "CP950"), utf8);
}

TEST(CodePageTest, UnconvertibleTextFailsWithoutSubstitution) {
  EXPECT_EQ(utf8ToCodePage("憑證\xf0\x9f\x98\x80", "CP950"), std::nullopt);  // an emoji
  EXPECT_EQ(utf8ToCodePage("a\xffz", "CP950"), std::nullopt);                // not UTF-8
  EXPECT_EQ(utf8ToCodePage("\xe6\x86", "CP950"), std::nullopt);              // cut-off sequence
  EXPECT_EQ(codePageToUtf8("\xbe\xcc\xc3", "CP950"), std::nullopt);          // cut-off pair
  EXPECT_EQ(codePageToUtf8("\xbe\x20", "CP950"), std::nullopt);              // bad trail byte
  EXPECT_EQ(codePageToUtf8("\xff\xff", "CP950"), std::nullopt);
}

TEST(CodePageTest, UnknownCodePageOrOptionsFail) {
  EXPECT_EQ(utf8ToCodePage("abc", "NO-SUCH-CODE-PAGE"), std::nullopt);
  EXPECT_EQ(codePageToUtf8("abc", "NO-SUCH-CODE-PAGE"), std::nullopt);
  EXPECT_EQ(utf8ToCodePage("abc", ""), std::nullopt);
  // Transliteration would turn the emoji into "?"; the name is refused instead.
  EXPECT_EQ(utf8ToCodePage("\xf0\x9f\x98\x80", "CP950//TRANSLIT"), std::nullopt);
  EXPECT_EQ(utf8ToCodePage("abc", "CP950//IGNORE"), std::nullopt);
}

// One converter serves every value of a request: each text converts on its own, also
// after one that failed half-way through a shifted sequence.
TEST(CodePageTest, ConverterConvertsEachTextOnItsOwn) {
  CodePageConverter toBig5("CP950", "UTF-8");
  ASSERT_TRUE(toBig5.valid());
  EXPECT_EQ(toBig5.convert(kCertificateUtf8), kCertificateBig5);
  EXPECT_EQ(toBig5.convert("a\xffz"), std::nullopt);
  EXPECT_EQ(toBig5.convert(kCertificateUtf8), kCertificateBig5);
  EXPECT_EQ(toBig5.convert(""), "");

  // A stateful encoding: every text starts and ends in the initial (ASCII) state.
  CodePageConverter toJis("ISO-2022-JP", "UTF-8");
  ASSERT_TRUE(toJis.valid());
  const std::string nihon = "\x1b$BF|K\\\x1b(B";  // "日本", shifted in and out
  EXPECT_EQ(toJis.convert("日本"), nihon);
  EXPECT_EQ(toJis.convert("日本"), nihon);
  EXPECT_EQ(toJis.convert("日本\xf0\x9f\x98\x80"), std::nullopt);  // fails while shifted
  EXPECT_EQ(toJis.convert("abc"), "abc");

  EXPECT_FALSE(CodePageConverter("NO-SUCH-CODE-PAGE", "UTF-8").valid());
  EXPECT_FALSE(CodePageConverter("CP950//TRANSLIT", "UTF-8").valid());
  EXPECT_EQ(CodePageConverter("CP950", "").convert("abc"), std::nullopt);
}

}  // namespace
}  // namespace valo
