// What the client puts on the wire, as the simulator received and opened it.
#include <gtest/gtest.h>

#include <regex>

#include "gateway/sim_fixture.h"

namespace valo::test {
namespace {

class GatewayWireTest : public SimTest {
 protected:
  void SetUp() override { startSim(); }

  int postSession(const std::string& action, const ParamMap& params) {
    std::string reply;
    return client_->postSessionEnvelope(kSessionKey, client_->actionUrl(action), params, reply);
  }
  int postRsa(const std::string& action, const ParamMap& params) {
    std::string reply;
    return client_->postRsaEnvelope(client_->actionUrl(action), params, reply);
  }
};

TEST_F(GatewayWireTest, SessionEnvelopeSendsEmptyTrashBeforeVersion) {
  ASSERT_EQ(postSession("iAmAlive", {{"version", "1.3"}, {"trash", ""}}), 0);

  nlohmann::json line = lastOf("iAmAlive");
  EXPECT_EQ(line["contentType"], "application/x-www-form-urlencoded; charset: UTF-8");
  ASSERT_EQ(line["params"].size(), 2u) << line.dump();
  EXPECT_EQ(line["params"][0]["name"], "trash");
  EXPECT_EQ(line["params"][0]["sent"], "");
  EXPECT_EQ(line["params"][1]["name"], "version");
  EXPECT_EQ(line["params"][1]["plain"], "1.3");
  EXPECT_EQ(line["params"][1]["sent"].get<std::string>().size(), 24u);
  EXPECT_TRUE(line["body"].get<std::string>().starts_with("trash=&version="));
  EXPECT_EQ(line["violations"], nlohmann::json::array());
}

TEST_F(GatewayWireTest, RsaEnvelopeLeavesEmptyValuesOut) {
  ASSERT_EQ(postRsa("doLogin", {{"id", "A123456789"}, {"ip", ""}, {"pwd", "demo1234"}}), 0);
  nlohmann::json login = lastOf("doLogin");
  ASSERT_EQ(login["params"].size(), 2u) << login.dump();
  EXPECT_EQ(login["params"][0]["name"], "id");
  EXPECT_EQ(login["params"][1]["name"], "pwd");
  EXPECT_EQ(login["params"][1]["plain"], "demo1234");
  EXPECT_EQ(login["body"].get<std::string>().find("ip="), std::string::npos);
  EXPECT_EQ(login["violations"], nlohmann::json::array());

  // A lone empty value leaves a request without any parameter.
  postRsa("checkVersion", {{"version", ""}});
  nlohmann::json check = lastOf("checkVersion");
  EXPECT_EQ(check["body"], "");
  EXPECT_EQ(check["params"], nlohmann::json::array());
}

TEST_F(GatewayWireTest, Base64SpecialCharactersArePercentEncodedUpperCase) {
  ASSERT_EQ(postRsa("checkVersion", {{"version", "1.3"}}), 0);
  nlohmann::json line = lastOf("checkVersion");
  const std::string sent = line["params"][0]["sent"];
  const std::string body = line["body"];
  // 256 random bytes in Base64 hold "+" and "/" except with negligible probability, and
  // always end in "==".
  ASSERT_NE(sent.find('+'), std::string::npos);
  ASSERT_NE(sent.find('/'), std::string::npos);
  ASSERT_TRUE(sent.ends_with("=="));
  EXPECT_NE(body.find("%2B"), std::string::npos);
  EXPECT_NE(body.find("%2F"), std::string::npos);
  EXPECT_TRUE(body.ends_with("%3D%3D"));
  static const std::regex kEncoded("version=([A-Za-z0-9]|%[0-9A-F]{2})+");
  EXPECT_TRUE(std::regex_match(body, kEncoded)) << body;
  EXPECT_EQ(line["violations"], nlohmann::json::array());
}

TEST_F(GatewayWireTest, RsaValuesAre344CharactersAndDifferEachCall) {
  ASSERT_EQ(postRsa("checkVersion", {{"version", "1.3"}}), 0);
  ASSERT_EQ(postRsa("checkVersion", {{"version", "1.3"}}), 0);
  auto lines = sim_->journalOf("checkVersion");
  ASSERT_EQ(lines.size(), 2u);
  const std::string first = lines[0]["params"][0]["sent"];
  const std::string second = lines[1]["params"][0]["sent"];
  EXPECT_EQ(first.size(), 344u);
  EXPECT_EQ(second.size(), 344u);
  EXPECT_NE(first, second);
  EXPECT_EQ(lines[0]["params"][0]["plain"], "1.3");
  EXPECT_EQ(lines[1]["params"][0]["plain"], "1.3");
}

TEST_F(GatewayWireTest, EqualSessionValuesAreEqualOnTheWire) {
  ASSERT_EQ(postSession("iAmAlive", {{"trash", "1.3"}, {"version", "1.3"}}), 0);
  nlohmann::json line = lastOf("iAmAlive");
  EXPECT_EQ(line["params"][0]["sent"], line["params"][1]["sent"]);
  EXPECT_FALSE(line["params"][0]["sent"].get<std::string>().empty());
}

TEST_F(GatewayWireTest, SessionValuesArePaddedToWholeBlocks) {
  struct Case {
    std::string value;
    size_t cipherBytes;
  };
  for (const Case& c :
       {Case{std::string(15, 'x'), 16}, Case{std::string(16, 'x'), 32}, Case{"", 0}}) {
    ASSERT_EQ(postSession("getCn", {{"userId", c.value}}), 0);
    nlohmann::json param = lastOf("getCn")["params"][0];
    EXPECT_EQ(param.value("cipherBytes", size_t{0}), c.cipherBytes) << c.value.size();
    if (!c.value.empty()) {
      EXPECT_EQ(param["plain"], c.value);
    }
  }
}

TEST_F(GatewayWireTest, ValuesTravelInTheWireCodePage) {
  // Three characters: 9 bytes of UTF-8, 6 bytes of CP950.
  ASSERT_EQ(postSession("getCn", {{"userId", "王小明"}}), 0);
  nlohmann::json param = lastOf("getCn")["params"][0];
  EXPECT_EQ(param["plain"], "王小明");
  EXPECT_EQ(param["plainHex"].get<std::string>().size(), 12u);
}

TEST_F(GatewayWireTest, NothingIsSentWhenARequestCannotBeMade) {
  std::string reply = "unchanged";
  // A session key shorter than 16 bytes.
  EXPECT_EQ(client_->postSessionEnvelope("0123456789abcde", client_->actionUrl("iAmAlive"),
                                         {{"version", "1.3"}}, reply),
            1);
  EXPECT_EQ(
      client_->postSessionEnvelope("", client_->actionUrl("iAmAlive"), {{"version", "1.3"}}, reply),
      1);
  // A value the wire code page cannot carry.
  EXPECT_EQ(client_->postRsaEnvelope(client_->actionUrl("checkVersion"),
                                     {{"version", "1.3\xF0\x9F\x98\x80"}}, reply),
            1);
  EXPECT_EQ(reply, "unchanged");
  EXPECT_TRUE(sim_->journal().empty());
  EXPECT_TRUE(ui_.messageTexts().empty());
}

}  // namespace
}  // namespace valo::test
