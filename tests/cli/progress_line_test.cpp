#include "app/cli/progress_line.h"

#include <gtest/gtest.h>

namespace valo::cli {
namespace {

TEST(ProgressLineTest, FormatsBarPlainAndFinalLines) {
  ProgressLine line;
  line.update("憑證申請", 1, 4, "產生金鑰");
  EXPECT_EQ(line.barLine(), "憑證申請: [#####---------------]  25% 產生金鑰");
  EXPECT_EQ(line.plainLine(), "憑證申請: 25% 產生金鑰");

  line.finish("憑證申請完成");
  EXPECT_EQ(line.finalLine(), "憑證申請: 憑證申請完成");
}

TEST(ProgressLineTest, KeepsTheCaptionUntilANewOneComes) {
  ProgressLine line;
  line.update("", 0, 10, "執行中 ...");
  EXPECT_EQ(line.plainLine(), "0% 執行中 ...");
  line.update("下載", 5, 10, "a");
  line.update("", 10, 10, "b");
  EXPECT_EQ(line.barLine(), "下載: [####################] 100% b");
  line.update("更新", 1, 3, "c");
  EXPECT_EQ(line.plainLine(), "更新: 33% c");
}

TEST(ProgressLineTest, PercentStaysWithinBounds) {
  struct Case {
    int position;
    int range;
    int percent;
  };
  const Case cases[] = {{0, 0, 0},  {3, 0, 0},     {5, -1, 0},
                        {-0, 5, 0}, {7, 5, 100},   {1, 3, 33},
                        {2, 3, 66}, {99, 100, 99}, {2000000000, 2100000000, 95}};
  for (const Case& c : cases) {
    ProgressLine line;
    line.update("", c.position, c.range, "");
    EXPECT_EQ(line.percent(), c.percent) << c.position << "/" << c.range;
  }
}

}  // namespace
}  // namespace valo::cli
