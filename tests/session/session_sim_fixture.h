#ifndef VALO_TESTS_SESSION_SESSION_SIM_FIXTURE_H_
#define VALO_TESTS_SESSION_SESSION_SIM_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "session/context.h"
#include "support/gateway_sim_process.h"
#include "support/test_platform.h"

namespace valo::test {

// A client context in a temporary home talking to its own simulator over HTTPS on
// loopback, with virtual time and a scripted UI.
class SessionSimTest : public ::testing::Test {
 protected:
  // The simulator's demo user.
  static constexpr char kUserId[] = "A123456789";
  static constexpr char kPassword[] = "demo1234";
  static constexpr char kCn[] = "A123456789-00-00";
  // A session the simulator knows from the start (see startLoggedIn).
  static constexpr char kSessionKey[] = "0123456789abcdefSESSION";

  // Starts a simulator with `scenario` (its top-level keys replace the demo defaults)
  // and a fresh context for it. Stops an earlier one first.
  void start(const std::string& scenario = "{}") {
    stopSim();
    sim_ = std::make_unique<GatewaySimProcess>(scenario);
    ASSERT_TRUE(sim_->ready()) << sim_->error();
    context_.reset();
    platform::Shell& shell = shell_ != nullptr ? *shell_ : platform_.shell;
    context_ =
        std::make_unique<Context>(platform::Services{platform_.environment, platform_.registry,
                                                     shell, platform_.clock, platform_.ui},
                                  sim_->endpoint());
  }

  // As start, with the session kSessionKey of the demo user open on both sides.
  void startLoggedIn(const std::string& scenario = "{}") {
    nlohmann::json json = nlohmann::json::parse(scenario);
    json["sessions"] = {{{"aeskey", kSessionKey}, {"user", kUserId}}};
    ASSERT_NO_FATAL_FAILURE(start(json.dump()));
    context_->sessionKey = kSessionKey;
  }

  void stopSim() {
    if (sim_ && sim_->ready()) {
      EXPECT_EQ(sim_->stop(), 0) << sim_->log();
    }
    sim_.reset();
  }
  void TearDown() override { stopSim(); }

  Context& context() { return *context_; }

  // The journal lines of an action, and the names of the parameters one of them carried.
  std::vector<nlohmann::json> posts(const std::string& action) const {
    return sim_->journalOf(action);
  }
  static std::vector<std::string> parameterNames(const nlohmann::json& post) {
    std::vector<std::string> names;
    for (const auto& param : post["params"]) names.push_back(param["name"]);
    return names;
  }
  // The opened value of a parameter of one post ("" when absent).
  static std::string parameter(const nlohmann::json& post, const std::string& name) {
    for (const auto& param : post["params"]) {
      if (param["name"] == name) return param["plain"].is_string() ? param["plain"] : "";
    }
    return "";
  }

  TestPlatform platform_;
  // The shell of the contexts made from now on; the platform's FakeShell when null.
  platform::Shell* shell_ = nullptr;
  std::unique_ptr<GatewaySimProcess> sim_;
  std::unique_ptr<Context> context_;
};

}  // namespace valo::test

#endif  // VALO_TESTS_SESSION_SESSION_SIM_FIXTURE_H_
