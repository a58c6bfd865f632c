#include "gateway/http_transport.h"

#include <gtest/gtest.h>

#include "gateway/sim_fixture.h"

namespace valo::test {
namespace {

class HttpTransportTest : public SimTest {
 protected:
  void SetUp() override { startSim(R"({"template": "<html>模板</html>"})"); }
};

TEST_F(HttpTransportTest, UpperCaseSchemeIsRequestedWithoutTls) {
  // The plain listener speaks no TLS: only a plain request reaches it.
  const std::string url = "HTTPS://127.0.0.1:" + std::to_string(sim_->httpPort()) + "/template";
  std::string response;
  ASSERT_EQ(httpPostForm(ui_, "", url, {{"b", "x y"}, {"a", "1+1"}}, response), 0);
  EXPECT_EQ(response, "<html>模板</html>");

  nlohmann::json line = sim_->journal().back();
  EXPECT_EQ(line["listener"], "http");
  EXPECT_EQ(line["contentType"], "application/x-www-form-urlencoded; charset: UTF-8");
  EXPECT_EQ(line["body"], "a=1%2B1&b=x+y");
  EXPECT_EQ(line["violations"], nlohmann::json::array());
}

TEST_F(HttpTransportTest, LowerCaseHttpsIsRequestedOverTls) {
  // Only a lower-case "https" prefix selects TLS, so this reaches the TLS listener.
  std::string response;
  EXPECT_EQ(httpPostForm(ui_, "", sim_->baseUrl() + "noSuchAction", {}, response), 59999);
  ASSERT_EQ(ui_.messageTexts().size(), 1u);  // not trusted without the pin
  EXPECT_EQ(httpPostForm(ui_, sim_->endpoint().pinnedCaPem, sim_->baseUrl() + "noSuchAction", {},
                         response),
            1);  // trusted with it; the unknown action is answered 404
  EXPECT_TRUE(response.empty());
}

TEST_F(HttpTransportTest, GetBytesIsSilentOnNetworkErrors) {
  std::string body;
  EXPECT_EQ(httpGetBytes("", sim_->httpBase() + "/echo/1", body), 0);
  EXPECT_EQ(body, "127.0.0.1\r\n");
  EXPECT_EQ(httpGetBytes("", "http://127.0.0.1:1/", body), 59999);
  EXPECT_EQ(httpGetBytes("", "not a url", body), 1);
  EXPECT_TRUE(body.empty());
  EXPECT_TRUE(ui_.messageTexts().empty());
}

}  // namespace
}  // namespace valo::test
