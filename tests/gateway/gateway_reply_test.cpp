// How the client opens and reads what the gateway answers, faults included.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "gateway/reply_document.h"
#include "gateway/sim_fixture.h"
#include "support/closed_port.h"

namespace valo::test {
namespace {

std::string withFault(const std::string& action, const std::string& fault) {
  return R"({"sessions": [{"aeskey": "0123456789abcdefTAIL", "user": "A123456789"}],
             "faults": {")" +
         action + "\": " + fault + "}}";
}

class GatewayReplyTest : public SimTest {
 protected:
  int checkVersion(std::string& reply) {
    return client_->postRsaEnvelope(client_->actionUrl("checkVersion"), {{"version", "1.3"}},
                                    reply);
  }
  int getCn(std::string& reply) {
    return client_->postSessionEnvelope(kSessionKey, client_->actionUrl("getCn"),
                                        {{"userId", "A123456789"}}, reply);
  }
};

TEST_F(GatewayReplyTest, BodyWithLineBreaksAndPaddingOpens) {
  ASSERT_NO_FATAL_FAILURE(
      startSim(R"({"sessions": [{"aeskey": "0123456789abcdefTAIL", "user": "A123456789"}],
               "faults": {"checkVersion": {"bodyLineBreaks": true},
                          "getCn": {"bodyLineBreaks": true}}})"));
  std::string reply;
  ASSERT_EQ(checkVersion(reply), 0);
  EXPECT_EQ(reply, lastOf("checkVersion")["reply"]);
  ASSERT_EQ(getCn(reply), 0);
  EXPECT_EQ(reply, lastOf("getCn")["reply"]);
  EXPECT_EQ(ReplyDocument(reply).field("cn"), "A123456789-00-00");
}

TEST_F(GatewayReplyTest, RsaReplyWithDamagedSecondBlockGivesTheFirstBlock) {
  ASSERT_NO_FATAL_FAILURE(startSim(withFault(
      "checkVersion", R"({"rtnMsg": ")" + std::string(300, 'M') + R"(", "damageBlock": 1})")));
  std::string reply;
  ASSERT_EQ(checkVersion(reply), 0);
  const std::string full = lastOf("checkVersion")["reply"];
  ASSERT_GT(full.size(), 245u);
  ASSERT_LE(full.size(), 490u);  // two blocks: 512 bytes on the wire
  EXPECT_EQ(reply, full.substr(0, 245));
}

TEST_F(GatewayReplyTest, ReplyUnderAnotherKeyFails) {
  ASSERT_NO_FATAL_FAILURE(
      startSim(R"({"sessions": [{"aeskey": "0123456789abcdefTAIL", "user": "A123456789"}],
               "faults": {"checkVersion": {"wrongKey": true}, "getCn": {"wrongKey": true}}})"));
  std::string reply = "unchanged";
  EXPECT_EQ(checkVersion(reply), 1);
  EXPECT_EQ(getCn(reply), 1);
  EXPECT_EQ(reply, "unchanged");
  EXPECT_TRUE(ui_.messageTexts().empty());
}

TEST_F(GatewayReplyTest, ErrorStatusAndEmptyBodyFailQuietly) {
  ASSERT_NO_FATAL_FAILURE(startSim(R"({"faults": {"checkVersion": {"httpStatus": 500, "times": 1},
                          "getSysCfg": {"emptyBody": true}}})"));
  std::string reply;
  EXPECT_EQ(checkVersion(reply), 1);
  EXPECT_EQ(client_->postRsaEnvelope(client_->actionUrl("getSysCfg"), {{"version", "1.3"}}, reply),
            1);
  EXPECT_TRUE(ui_.messageTexts().empty());
  EXPECT_EQ(checkVersion(reply), 0);  // the fault was for one call only
}

TEST_F(GatewayReplyTest, UnreachableServerShowsTheNetworkMessage) {
  ASSERT_NO_FATAL_FAILURE(startSim());
  GatewayEndpoint endpoint = sim_->endpoint();
  const int port = closedLoopbackPort();
  endpoint.baseUrl = "https://127.0.0.1:" + std::to_string(port) + "/VEZIR/api/";
  GatewayClient client(endpoint, ui_);
  std::string reply;
  EXPECT_EQ(client.postRsaEnvelope(client.actionUrl("checkVersion"), {{"version", "1.3"}}, reply),
            59999);
  ASSERT_EQ(ui_.messageTexts().size(), 1u);
  EXPECT_EQ(ui_.messageTexts()[0], "與伺服器(127.0.0.1:" + std::to_string(port) +
                                       ")間網路連線發生錯誤!!\n[7]" +
                                       curl_easy_strerror(CURLE_COULDNT_CONNECT));
}

TEST_F(GatewayReplyTest, ServerCertificateNotUnderThePinnedCaIsRefused) {
  GatewaySimProcess::Options options;
  options.serverCert = GatewaySimProcess::demoFile("rogue-server.pem");
  options.serverKey = GatewaySimProcess::demoFile("rogue-server-key.pem");
  sim_ = std::make_unique<GatewaySimProcess>(options);
  ASSERT_TRUE(sim_->ready()) << sim_->error();
  GatewayClient client(sim_->endpoint(), ui_);
  std::string reply;
  EXPECT_EQ(client.postRsaEnvelope(client.actionUrl("checkVersion"), {{"version", "1.3"}}, reply),
            59999);
  ASSERT_EQ(ui_.messageTexts().size(), 1u);
  EXPECT_NE(ui_.messageTexts()[0].find("[60]"), std::string::npos) << ui_.messageTexts()[0];

  // The demo certificate is trusted only through the pin.
  sim_ = std::make_unique<GatewaySimProcess>();
  ASSERT_TRUE(sim_->ready()) << sim_->error();
  GatewayEndpoint unpinned = sim_->endpoint();
  unpinned.pinnedCaPem.clear();
  GatewayClient unpinnedClient(unpinned, ui_);
  EXPECT_EQ(unpinnedClient.postRsaEnvelope(unpinnedClient.actionUrl("checkVersion"),
                                           {{"version", "1.3"}}, reply),
            59999);
  EXPECT_TRUE(sim_->journal().empty());
}

TEST_F(GatewayReplyTest, TraditionalChineseMessageArrivesIntact) {
  ASSERT_NO_FATAL_FAILURE(
      startSim(withFault("checkVersion", R"({"rtnMsg": "憑證作業成功，歡迎使用"})")));
  std::string reply;
  ASSERT_EQ(checkVersion(reply), 0);
  std::string rtnCode;
  std::string rtnMsg;
  ASSERT_EQ(checkReply(reply, rtnCode, rtnMsg), 0);
  EXPECT_EQ(rtnCode, "0");
  EXPECT_EQ(rtnMsg, "憑證作業成功，歡迎使用");
  // It went over the wire in CP950.
  EXPECT_NE(lastOf("checkVersion")["replyHex"].get<std::string>().find(
                "beccc3d2a740b77ea6a8a55ca141c577aaefa8cfa5ce"),
            std::string::npos);
}

TEST_F(GatewayReplyTest, RepeatedElementsFirstForOneFieldLastForAll) {
  ASSERT_NO_FATAL_FAILURE(startSim(withFault(
      "getCn",
      R"({"replyXml": "<?xml version=\"1.0\"?><!-- c --><r><rtnCode>0</rtnCode><cn>first</cn><cn>second</cn><rtnMsg/><box><x>1</x></box></r>"})")));
  std::string reply;
  ASSERT_EQ(getCn(reply), 0);
  ReplyDocument document(reply);
  ASSERT_TRUE(document.hasRoot());
  EXPECT_EQ(document.field("cn"), "first");
  EXPECT_EQ(document.field("absent"), "");
  ParamMap all = document.allFields();
  EXPECT_EQ(all, (ParamMap{{"box", ""}, {"cn", "second"}, {"rtnCode", "0"}, {"rtnMsg", ""}}));
  EXPECT_EQ(document.allFieldsWithoutCodes(), (ParamMap{{"box", ""}, {"cn", "second"}}));
}

TEST(CheckReplyTest, Statuses) {
  struct Case {
    const char* reply;
    int status;
    const char* rtnCode;
    const char* rtnMsg;
  };
  const Case cases[] = {
      {" \r\n\t ", 100, "", ""},
      {"this is not xml <", 200, "", ""},
      {"<r><rtnCode>0</r>", 200, "", ""},
      {"<!-- only a comment -->", 210, "", ""},
      {"<r><rtnCode>0</rtnCode><rtnMsg></rtnMsg></r>", 0, "0", ""},
      {"\n <?xml version=\"1.0\"?><!--c--><any><rtnMsg>a &amp; b</rtnMsg><rtnCode>E1</rtnCode>"
       "<rtnCode>0</rtnCode></any>",
       0, "E1", "a & b"},
      {"<r/>", 0, "", ""},
  };
  for (const Case& c : cases) {
    std::string rtnCode = "stale";
    std::string rtnMsg = "stale";
    EXPECT_EQ(checkReply(c.reply, rtnCode, rtnMsg), c.status) << c.reply;
    EXPECT_EQ(rtnCode, c.rtnCode) << c.reply;
    EXPECT_EQ(rtnMsg, c.rtnMsg) << c.reply;
  }
}

}  // namespace
}  // namespace valo::test
