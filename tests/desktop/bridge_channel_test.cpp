// The native end of the bridge channel: what a request body may hold and how a reply
// becomes the response text. The page end is exercised in the real window
// (main_window_test, bridge_call_test).
#include "app/gtk/bridge_channel.h"

#include <gtest/gtest.h>

namespace valo::gtk {
namespace {

TEST(BridgeChannelTest, BodiesAreArraysOfStrings) {
  using Arguments = std::vector<std::string>;
  struct Case {
    std::string body;
    std::optional<Arguments> expected;
  };
  const Case cases[] = {
      {"[]", Arguments{}},
      {R"(["A123456789","pass word"])", Arguments{"A123456789", "pass word"}},
      {R"(["a\u0000b"])", Arguments{std::string("a\0b", 3)}},
      {R"(["中文","\"'</script>"])", Arguments{"中文", "\"'</script>"}},
      {"", std::nullopt},
      {"[", std::nullopt},
      {R"({"0":"a"})", std::nullopt},
      {R"("a")", std::nullopt},
      {"[1]", std::nullopt},
      {R"(["a",null])", std::nullopt},
      {R"([["a"]])", std::nullopt},
      {R"(["\ud800"])", std::nullopt},  // half a character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseBridgeArguments(c.body), c.expected) << c.body;
  }
}

TEST(BridgeChannelTest, ResponseTextFollowsTheReturnKind) {
  EXPECT_EQ(bridgeResponseText({BridgeReturn::kText, "{'errCode':'0'}", 0}), "{'errCode':'0'}");
  EXPECT_EQ(bridgeResponseText({BridgeReturn::kShort, "", -2}), "-2");
  EXPECT_EQ(bridgeResponseText({BridgeReturn::kShort, "", 0}), "0");
  EXPECT_EQ(bridgeResponseText({BridgeReturn::kNothing, "ignored", 0}), "");
}

TEST(BridgeChannelTest, FailureReplyIsTheUnknownErrorCode) {
  EXPECT_EQ(bridgeFailureReply(), "{'errCode':'1','errMsg':'<1>不明的錯誤'}");
}

}  // namespace
}  // namespace valo::gtk
