#include "session/sys_config.h"

#include <gtest/gtest.h>

namespace valo {
namespace {

TEST(SysConfigTest, EveryGetOnAnEmptyStoreTriesToLoadAgain) {
  SysConfig config;
  int loads = 0;
  config.setLoader([&](SysConfig&) { ++loads; });
  EXPECT_EQ(config.get("app.dlUrl"), "");
  EXPECT_EQ(config.get("app.dlUrl"), "");
  EXPECT_EQ(loads, 2);
  EXPECT_FALSE(config.isLoaded());
}

TEST(SysConfigTest, LoadsOnceThenAnswersWithoutCreatingEntries) {
  SysConfig config;
  int loads = 0;
  config.setLoader([&](SysConfig& c) {
    ++loads;
    c.set("app.dlUrl", "http://127.0.0.1/valo.new");
  });
  EXPECT_EQ(config.appDownloadUrl(), "http://127.0.0.1/valo.new");
  EXPECT_EQ(config.get("no.such.key"), "");
  EXPECT_EQ(config.entries().count("no.such.key"), 0u);
  EXPECT_EQ(loads, 1);
}

TEST(SysConfigTest, SetOnAnEmptyStoreSuppressesTheLoad) {
  SysConfig config;
  int loads = 0;
  config.setLoader([&](SysConfig&) { ++loads; });
  config.set("userIdno", "A123456789");
  config.set("userIdno", "B123456789");
  EXPECT_EQ(config.get("userIdno"), "B123456789");
  EXPECT_EQ(config.get("env.userHome"), "");
  EXPECT_EQ(loads, 0);
}

}  // namespace
}  // namespace valo
