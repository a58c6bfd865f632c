// Server certificates are checked against the system's trusted CAs and the pinned ones.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gateway/sim_fixture.h"

namespace valo::test {
namespace {

class TlsTrustTest : public SimTest {
 protected:
  // Posts in a child process (each builds its trust store afresh) with the CA of the
  // simulator's certificate either pinned or standing in for the system's CA bundle.
  // Returns the post's result code, or -1 when the child failed.
  int postInChild(bool systemTrustsTheDemoCa, bool pinTheDemoCa) {
    int status = runInChildProcess([&] {
      if (systemTrustsTheDemoCa) {
        setenv("SSL_CERT_FILE", GatewaySimProcess::demoFile("ca.pem").c_str(), 1);
        setenv("SSL_CERT_DIR", "/nonexistent", 1);
      }
      GatewayEndpoint endpoint = sim_->endpoint();
      // An unrelated CA when the demo CA is not pinned, so the pin is never empty.
      endpoint.pinnedCaPem =
          readTextFile(GatewaySimProcess::demoFile(pinTheDemoCa ? "ca.pem" : "rogue-ca.pem"));
      GatewayClient client(endpoint, ui_);
      std::string reply;
      int code =
          client.postRsaEnvelope(client.actionUrl("checkVersion"), {{"version", "1.3"}}, reply);
      return code == 0 ? 0 : code == 59999 ? 1 : 2;
    });
    return status == 0 ? 0 : status == 1 ? 59999 : -1;
  }
};

TEST_F(TlsTrustTest, SystemStoreAndPinnedCaAreBothTrusted) {
  ASSERT_NO_FATAL_FAILURE(startSim());
  EXPECT_EQ(postInChild(false, true), 0);
  EXPECT_EQ(postInChild(true, false), 0);
  EXPECT_EQ(postInChild(false, false), 59999);
}

}  // namespace
}  // namespace valo::test
