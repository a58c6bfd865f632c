#ifndef VALO_TESTS_GATEWAY_SIM_FIXTURE_H_
#define VALO_TESTS_GATEWAY_SIM_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gateway/gateway_client.h"
#include "platform/scripted_ui.h"
#include "support/gateway_sim_process.h"
#include "support/test_util.h"

namespace valo::test {

// A test against its own simulator over real HTTPS on loopback, with a client for it.
class SimTest : public ::testing::Test {
 protected:
  // A session the simulator knows from the start, for the session envelope.
  static constexpr char kSessionKey[] = "0123456789abcdefTAIL";
  static constexpr char kSessionScenario[] =
      R"({"sessions": [{"aeskey": "0123456789abcdefTAIL", "user": "A123456789"}]})";

  void startSim(const std::string& scenario = kSessionScenario) {
    sim_ = std::make_unique<GatewaySimProcess>(scenario);
    ASSERT_TRUE(sim_->ready()) << sim_->error();
    client_ = std::make_unique<GatewayClient>(sim_->endpoint(), ui_);
  }

  void TearDown() override {
    if (sim_ && sim_->ready()) {
      EXPECT_EQ(sim_->stop(), 0) << sim_->log();
    }
  }

  // The last journal line of an action.
  nlohmann::json lastOf(const std::string& action) const {
    auto lines = sim_->journalOf(action);
    return lines.empty() ? nlohmann::json() : lines.back();
  }

  platform::ScriptedUi ui_;
  std::unique_ptr<GatewaySimProcess> sim_;
  std::unique_ptr<GatewayClient> client_;
};

}  // namespace valo::test

#endif  // VALO_TESTS_GATEWAY_SIM_FIXTURE_H_
