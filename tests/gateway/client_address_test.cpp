#include "gateway/client_address.h"

#include <gtest/gtest.h>

#include "gateway/sim_fixture.h"
#include "support/closed_port.h"

namespace valo::test {
namespace {

class ClientAddressTest : public SimTest {
 protected:
  std::string discover(const std::string& echo1, const std::string& echo2) {
    startSim(R"({"echo": {"1": )" + echo1 + R"(, "2": )" + echo2 + "}}");
    return discoverClientAddress(sim_->endpoint());
  }
};

TEST_F(ClientAddressTest, LineBreakIsRemoved) {
  EXPECT_EQ(discover(R"({"body": "203.0.113.7\r\n"})", R"({"body": "198.51.100.2"})"),
            "203.0.113.7");
  EXPECT_EQ(sim_->journal().size(), 1u);  // the second service is not asked
}

TEST_F(ClientAddressTest, DigitsOfAnyAnswerAreTaken) {
  EXPECT_EQ(discover(R"({"body": "<p>Error 404 at 10.30</p>"})", "{}"), "40410.30");
}

class FailingFirstServiceTest : public ClientAddressTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(FailingFirstServiceTest, FallsToTheSecondThenToTheLocalAddress) {
  EXPECT_EQ(discover(GetParam(), R"({"body": "198.51.100.2\n"})"), "198.51.100.2");
  sim_.reset();
  EXPECT_EQ(discover(GetParam(), GetParam()), localIpv4Address());
  EXPECT_EQ(sim_->journal().size(), 2u);
}

std::string answerName(const ::testing::TestParamInfo<const char*>& info) {
  static const char* const kNames[] = {"ErrorStatus", "EmptyBody", "NoDigits"};
  return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(Answers, FailingFirstServiceTest,
                         ::testing::Values(R"({"status": 500, "body": "1.2.3.4"})",
                                           R"({"body": ""})", R"({"body": "no address here"})"),
                         answerName);

TEST_F(ClientAddressTest, UnreachableServicesFallToTheLocalAddress) {
  GatewayEndpoint endpoint;
  endpoint.echoUrl1 = "http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/";
  endpoint.echoUrl2 = "http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/";
  EXPECT_EQ(discoverClientAddress(endpoint), localIpv4Address());
}

}  // namespace
}  // namespace valo::test
