#include "core/base64.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace valo {
namespace {

std::string asText(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

bool inAlphabet(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}

// What the lenient rules make of a text, worked out without the decoder under test: keep
// the alphabet characters (stopping at a zero byte where a group would begin), then let
// OpenSSL's strict decoder do the arithmetic. A short final group of k characters keeps
// k - 1 bytes, a single left-over character none.
std::string expectedDecoding(const std::string& text) {
  std::string clean;
  for (char c : text) {
    if (c == '\0' && clean.size() % 4 == 0) break;
    if (inAlphabet(c)) clean += c;
  }
  const size_t rest = clean.size() % 4;
  const size_t length = clean.size() / 4 * 3 + (rest >= 2 ? rest - 1 : 0);
  if (rest == 1) clean.pop_back();
  if (rest >= 2) clean.append(4 - rest, '=');
  std::vector<unsigned char> bytes(clean.size() / 4 * 3 + 1);
  const int decoded = EVP_DecodeBlock(
      bytes.data(), reinterpret_cast<const unsigned char*>(clean.data()), int(clean.size()));
  if (decoded < 0) ADD_FAILURE() << "reference decoder refused \"" << clean << '"';
  return std::string(reinterpret_cast<char*>(bytes.data()), length);
}

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

// Whole groups of four clean characters take a faster path than the rest. Characters the
// decoder must skip (or a zero byte) at every position of a group, and in every group of
// the text, with whole and short final groups, must give the bytes the rules say.
TEST(Base64Test, SkippedCharactersAtEveryPosition) {
  const std::string plain = "foobarbazqux";
  const std::string clean = "Zm9vYmFyYmF6cXV4";  // four whole groups
  auto bytesFor = [](size_t chars) { return chars / 4 * 3 + (chars % 4 >= 2 ? chars % 4 - 1 : 0); };
  const std::string junks[] = {"=", "\r\n", "  ", "*", "\x80", "\xff", std::string(1, '\0')};
  for (const std::string& junk : junks) {
    for (const size_t cut : {clean.size(), clean.size() - 1, clean.size() - 2}) {
      for (size_t at = 0; at <= cut; ++at) {
        std::string text = clean.substr(0, cut);
        text.insert(at, junk);
        SCOPED_TRACE(testing::Message()
                     << "junk " << int(uint8_t(junk[0])) << " at " << at << " of " << cut);
        // A zero byte where a group begins ends the input; anywhere else it is skipped.
        const size_t kept = (junk[0] == '\0' && at % 4 == 0) ? at : cut;
        EXPECT_EQ(asText(base64DecodeAll(text)), plain.substr(0, bytesFor(kept)));
      }
    }
  }
}

// Random data encoded by OpenSSL, with random characters outside the alphabet sprinkled
// in, decodes to what the lenient rules say, into buffers of every size around the
// decoded length: the groups that fit are written and nothing beyond them.
TEST(Base64Test, RandomJunkAndCapacitiesAgreeWithReference) {
  std::mt19937 random(20240611);
  const std::string junk = std::string("=\r\n\t *.-_!\x80\xc3\xff") + '\0';
  for (int round = 0; round < 300; ++round) {
    std::vector<unsigned char> data(random() % 70);
    for (auto& byte : data) byte = static_cast<unsigned char>(random());
    std::string text(4 * ((data.size() + 2) / 3) + 1, '\0');
    text.resize(size_t(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data.data(),
                                       int(data.size()))));
    const size_t insertions = random() % 6;
    for (size_t i = 0; i < insertions; ++i) {
      text.insert(random() % (text.size() + 1), 1, junk[random() % junk.size()]);
    }
    // Sometimes cut the text short, so short final groups turn up too.
    const bool cut = round % 3 == 0 && !text.empty();
    if (cut) text.resize(random() % text.size());
    SCOPED_TRACE(testing::Message() << "round " << round << ": \"" << text << '"');

    const std::string expected = expectedDecoding(text);
    if (!cut && text.find('\0') == std::string::npos) {
      EXPECT_EQ(expected, std::string(data.begin(), data.end()));  // the reference itself
    }
    for (size_t capacity = expected.size() > 4 ? expected.size() - 4 : 0;
         capacity <= expected.size() + 1; ++capacity) {
      std::vector<uint8_t> buffer(capacity + 8, '#');
      size_t length = 0;
      const bool complete =
          base64Decode(text.data(), text.size(), buffer.data(), capacity, &length);
      EXPECT_EQ(length, expected.size());
      EXPECT_EQ(complete, capacity >= expected.size());
      // Whole groups of three that fit, plus the short final group when it fits too.
      size_t written = std::min(capacity / 3 * 3, expected.size() / 3 * 3);
      if (capacity >= expected.size()) written = expected.size();
      EXPECT_EQ(asText(buffer).substr(0, written), expected.substr(0, written));
      EXPECT_EQ(asText(buffer).substr(written), std::string(buffer.size() - written, '#'))
          << "capacity " << capacity;
    }
  }
}

}  // namespace
}  // namespace valo
