// Registry settings pushed by the simulator, written into the registry of the temporary
// home.
#include "session/registry_settings.h"

#include <gtest/gtest.h>

#include "session/session_sim_fixture.h"

namespace valo::test {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;

constexpr char kKey[] = "Software\\NOSK\\Pushed\\Deep";

class RegistrySettingsTest : public SessionSimTest {
 protected:
  std::optional<RegistryValue> value(const std::string& key, const std::string& name) {
    return platform_.registry.queryValue(RegistryRoot::kCurrentUser, key, name);
  }
};

TEST_F(RegistrySettingsTest, WritesEachCompleteSettingAndSkipsTheRest) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"registrySettings": [
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Number", "regValue": "42abc",
       "regValueType": "DW"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Letters", "regValue": "abc",
       "regValueType": "DW"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Negative", "regValue": "-1",
       "regValueType": "DW"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Lower", "regValue": "7",
       "regValueType": "dw"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regValue": "lost", "regValueType": "SZ"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Empty", "regValue": null,
       "regValueType": "SZ"},
      {"regPath": "Software\\NOSK\\Bad\nKey", "regName": "Unwritable", "regValue": "x",
       "regValueType": "SZ"},
      {"regPath": "Software\\NOSK\\Pushed\\Deep", "regName": "Next", "regValue": "文字",
       "regValueType": "SZ"}]})"));
  EXPECT_EQ(applyRegistrySettings(context()), 0);

  EXPECT_EQ(value(kKey, "Number"), RegistryValue::Dword(42));
  EXPECT_EQ(value(kKey, "Letters"), RegistryValue::Dword(0));
  EXPECT_EQ(value(kKey, "Negative"), RegistryValue::Dword(0xFFFFFFFFu));
  EXPECT_EQ(value(kKey, "Lower"), RegistryValue::String("7"));
  EXPECT_EQ(value(kKey, "Next"), RegistryValue::String("文字"));
  EXPECT_FALSE(value(kKey, "Empty"));
  EXPECT_FALSE(value(kKey, ""));
  EXPECT_FALSE(
      platform_.registry.keyExists(RegistryRoot::kCurrentUser, "Software\\NOSK\\Bad\nKey"));
  // The intermediate keys were created on the way.
  EXPECT_TRUE(platform_.registry.keyExists(RegistryRoot::kCurrentUser, "Software\\NOSK\\Pushed"));

  const auto post = posts("getRegSet").at(0);
  EXPECT_EQ(post["envelope"], "session");
  EXPECT_EQ(parameterNames(post), (std::vector<std::string>{"version"}));
  EXPECT_EQ(post["params"][0]["sent"], "");
  EXPECT_TRUE(platform_.ui.messageBoxes().empty());
}

TEST_F(RegistrySettingsTest, GatewayErrorWritesNothing) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"getRegSet": {"rtnCode": "1"}},
      "registrySettings": [{"regPath": "Software\\NOSK\\Pushed", "regName": "N",
                            "regValue": "1", "regValueType": "DW"}]})"));
  EXPECT_EQ(applyRegistrySettings(context()), 59903);
  EXPECT_FALSE(platform_.registry.keyExists(RegistryRoot::kCurrentUser, "Software\\NOSK"));
}

TEST_F(RegistrySettingsTest, FailedPostOrUnreadableReplyIsANonZeroCode) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"getRegSet": {"notXml": true}}})"));
  EXPECT_NE(applyRegistrySettings(context()), 0);
  context().sessionKey.clear();
  EXPECT_NE(applyRegistrySettings(context()), 0);
  EXPECT_TRUE(platform_.ui.messageBoxes().empty());
}

}  // namespace
}  // namespace valo::test
