#include "core/base64.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace valo {
namespace {

std::string asText(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(Base64Test, EncodesGroupsAndPadding) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\xff\xfe\x00\x01", 4), "//4AAQ=="},
      {std::string("\xfb\xff", 2), "+/8="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(base64Encode(c.in), c.out) << c.out;
  }
  EXPECT_EQ(base64Encode(nullptr, 0), "");
}

// The decoder's rules, one row each: skipped characters, where a zero byte ends the
// input, short final groups.
TEST(Base64Test, DecodesLeniently) {
  const struct {
    const char* name;
    std::string in;
    std::string out;
  } cases[] = {
      {"plain", "Zm9vYmFy", "foobar"},
      {"padding is skipped", "Zm9vYg==", "foob"},
      {"line breaks and blanks are skipped", "Zm9v\r\nYm\t F y\n", "foobar"},
      {"padding in the middle is skipped", "Zm=9vY=mFy", "foobar"},
      {"other characters are skipped", "Zm9v*Ym!Fy.", "foobar"},
      {"short group of three gives two bytes", "Zm9vYmE", "fooba"},
      {"short group of two gives one byte", "Zm9vYg", "foob"},
      {"one left-over character gives none", "Zm9vY", "foo"},
      {"nothing from the alphabet", "==\r\n**", ""},
      {"empty", "", ""},
      {"zero byte where a group begins ends the input", std::string("Zm9v\0Ym Fy", 10), "foo"},
      {"zero byte after skipped characters ends the input", std::string("Zm9v\r\n\0YmFy", 11),
       "foo"},
      {"zero byte at the start gives nothing", std::string("\0Zm9v", 5), ""},
      {"zero byte inside a group is skipped",
       std::string("Zm\0"
                   "9vYmFy",
                   9),
       "foobar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    uint8_t buffer[32] = {};
    size_t length = 999;
    EXPECT_TRUE(base64Decode(c.in.data(), c.in.size(), buffer, sizeof buffer, &length));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), length), c.out);
    EXPECT_EQ(asText(base64DecodeAll(c.in)), c.out);
  }
}

TEST(Base64Test, GivenLengthEndsInput) {
  const char text[] = "Zm9vYmFy";
  uint8_t buffer[8] = {};
  size_t length = 0;
  EXPECT_TRUE(base64Decode(text, 4, buffer, sizeof buffer, &length));
  EXPECT_EQ(length, 3u);
}

TEST(Base64Test, SmallBufferStopsWritingButKeepsCounting) {
  const std::string text = "Zm9vYmFyYg==";  // "foobarb", 7 bytes
  uint8_t buffer[8];

  // Exactly large enough.
  size_t length = 0;
  EXPECT_TRUE(base64Decode(text.data(), text.size(), buffer, 7, &length));
  EXPECT_EQ(length, 7u);

  // One byte short: the groups that fit are written, nothing after the first that does not.
  std::fill(std::begin(buffer), std::end(buffer), uint8_t{'#'});
  length = 0;
  EXPECT_FALSE(base64Decode(text.data(), text.size(), buffer, 6, &length));
  EXPECT_EQ(length, 7u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "foobar##");

  // A group that does not fit stops writing even though a later, shorter one would.
  std::fill(std::begin(buffer), std::end(buffer), uint8_t{'#'});
  EXPECT_FALSE(base64Decode(text.data(), text.size(), buffer, 5, &length));
  EXPECT_EQ(length, 7u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "foo#####");

  // No buffer: only the length.
  length = 0;
  EXPECT_FALSE(base64Decode(text.data(), text.size(), nullptr, 0, &length));
  EXPECT_EQ(length, 7u);

  // No buffer but nothing to write either: nothing was left unwritten.
  EXPECT_TRUE(base64Decode("==", 2, nullptr, 0, &length));
  EXPECT_EQ(length, 0u);
}

TEST(Base64Test, MissingTextOrLengthFailsWithoutReporting) {
  uint8_t buffer[4] = {};
  size_t length = 42;
  EXPECT_FALSE(base64Decode(nullptr, 4, buffer, sizeof buffer, &length));
  EXPECT_EQ(length, 42u);
  EXPECT_FALSE(base64Decode("Zm9v", 4, buffer, sizeof buffer, nullptr));
}

TEST(Base64Test, RoundTripsAndAgreesWithOpenSsl) {
  for (size_t size = 0; size < 200; size += (size < 10 ? 1 : 37)) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> data(size);
    if (size > 0) {
      ASSERT_EQ(RAND_bytes(data.data(), static_cast<int>(size)), 1);
    }

    std::vector<unsigned char> reference(4 * ((size + 2) / 3) + 1);
    const int written =
        EVP_EncodeBlock(reference.data(), data.data(), static_cast<int>(data.size()));
    const std::string encoded = base64Encode(data.data(), data.size());
    EXPECT_EQ(encoded, std::string(reinterpret_cast<char*>(reference.data()), written));

    EXPECT_EQ(base64DecodeAll(encoded), data);
  }
}

}  // namespace
}  // namespace valo
