#include "gateway/form_body.h"

#include <gtest/gtest.h>

namespace valo {
namespace {

TEST(FormBodyTest, ValuesAreEncodedByteByByte) {
  struct Case {
    std::string value;
    std::string encoded;
  };
  const Case cases[] = {
      {"AZaz09", "AZaz09"},
      {"a b\tc\nd\ve\ff\rg", "a+b+c+d+e+f+g"},
      {"+/=", "%2B%2F%3D"},
      {"-._~*", "%2D%2E%5F%7E%2A"},
      {std::string("\x00\x7F\xFF", 3), "%00%7F%FF"},
      {"王", "%E7%8E%8B"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(urlEncodeFormValue(c.value), c.encoded) << c.value;
}

TEST(FormBodyTest, PairsInKeyOrderWithUnencodedKeys) {
  EXPECT_EQ(buildFormBody({}), "");
  EXPECT_EQ(buildFormBody({{"version", "1.3"}, {"trash", ""}}), "trash=&version=1%2E3");
  EXPECT_EQ(buildFormBody({{"b.x", "1"}, {"B", "2"}, {"a", "3"}}), "B=2&a=3&b.x=1");
}

}  // namespace
}  // namespace valo
