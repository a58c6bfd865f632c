#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/bridge_reply.h"
#include "support/temp_home.h"

namespace valo {
namespace {

std::string toHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

// Runs every reply through the page's own evaluation, eval('(' + reply + ')'), in node.
std::vector<std::string> evaluateInNode(const std::vector<std::string>& replies,
                                        const std::string& folder) {
  const std::string input = folder + "/replies.hex";
  {
    std::ofstream out(input);
    for (const auto& reply : replies) out << toHex(reply) << '\n';
  }
  const char* source = std::getenv("VALO_TEST_SOURCE_DIR");
  const std::string script = std::string(source ? source : ".") + "/tests/app/eval_replies.js";
  const std::string command = "node '" + script + "' '" + input + "'";
  std::vector<std::string> values;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return values;
  char line[65536];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    values.push_back(text);
  }
  pclose(pipe);
  return values;
}

TEST(ReplyEscapingTest, PageEvaluationYieldsEveryHostileValueExactly) {
  const std::vector<std::string> values = {
      "",
      "plain",
      "it's",
      "'}); alert(1); ({'",
      "back\\slash",
      "C:\\\\share\\cert.pfx",
      "trailing\\",
      "\"double\"",
      "line\nbreak\r\nand\ttab",
      std::string("zero\0byte", 9),
      "\x01\x1f\x7f",
      "</script><script>alert(1)</script>",
      "<!-- -->",
      "\xe2\x80\xa8 and \xe2\x80\xa9",
      "憑證申請完成",
      "${x}`y`",
  };
  std::vector<std::string> replies;
  for (const auto& value : values) replies.push_back(ReplyBuilder(0, "").add("v", value).str());

  test::TempHome home;
  const auto evaluated = evaluateInNode(replies, home.root());
  ASSERT_EQ(evaluated.size(), values.size()) << "node must be installed";
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(evaluated[i], toHex(values[i])) << "value #" << i << ": " << replies[i];
  }
}

TEST(ReplyEscapingTest, ScriptTerminatorsNeverAppearInReplies) {
  const std::string reply = ReplyBuilder(0, "</script>").add("v", "</SCRIPT\n").str();
  EXPECT_EQ(reply.find("</"), std::string::npos);
  EXPECT_EQ(reply.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace valo
