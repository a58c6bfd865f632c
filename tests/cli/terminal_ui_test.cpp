#include "app/cli/terminal_ui.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/fake_clock.h"

namespace valo::cli {
namespace {

using platform::MessageButtons;
using platform::MessageResult;

class TerminalUiTest : public ::testing::Test {
 protected:
  TerminalUi& makeUi(TerminalUiOptions options, const std::string& input = "") {
    in_.str(input);
    ui_.emplace(in_, out_, clock_, options);
    return *ui_;
  }

  static TerminalUiOptions options(bool interactive, AutoAnswer answer, bool onTerminal = false) {
    TerminalUiOptions result;
    result.interactive = interactive;
    result.autoAnswer = answer;
    result.progressOnTerminal = onTerminal;
    return result;
  }

  MessageResult question(TerminalUi& ui) {
    return ui.messageBox("要繼續嗎?", MessageButtons::kOkCancel, "");
  }

  std::istringstream in_;
  std::ostringstream out_;
  test::FakeClock clock_;
  std::optional<TerminalUi> ui_;
};

TEST_F(TerminalUiTest, MessageBoxPrintsItsText) {
  TerminalUi& ui = makeUi(options(false, AutoAnswer::kNone));
  EXPECT_EQ(ui.messageBox("檔案讀取失敗, 無法讀取檔案"), MessageResult::kOk);
  EXPECT_EQ(out_.str(), "檔案讀取失敗, 無法讀取檔案\n");
}

TEST_F(TerminalUiTest, QuestionsWithoutAnyoneToAskFollowTheCommandLineElseCancel) {
  struct Case {
    bool interactive;
    AutoAnswer answer;
    MessageResult result;
    const char* shown;
  };
  const Case cases[] = {
      {false, AutoAnswer::kNone, MessageResult::kCancel, "要繼續嗎? [y/N] n\n"},
      {false, AutoAnswer::kYes, MessageResult::kOk, "要繼續嗎? [y/N] y\n"},
      {false, AutoAnswer::kNo, MessageResult::kCancel, "要繼續嗎? [y/N] n\n"},
      // An answer on the command line is taken without asking, even on a terminal.
      {true, AutoAnswer::kYes, MessageResult::kOk, "要繼續嗎? [y/N] y\n"},
      {true, AutoAnswer::kNo, MessageResult::kCancel, "要繼續嗎? [y/N] n\n"},
  };
  for (const Case& c : cases) {
    out_.str("");
    // The input would say yes: it must not be read.
    TerminalUi& ui = makeUi(options(c.interactive, c.answer), "y\n");
    EXPECT_EQ(question(ui), c.result) << c.shown;
    EXPECT_EQ(out_.str(), c.shown);
    EXPECT_EQ(ui.runAgreement(), c.result == MessageResult::kOk) << c.shown;
  }
}

TEST_F(TerminalUiTest, InteractiveQuestionsReadYesOrNoAndDefaultToCancel) {
  struct Case {
    const char* input;
    MessageResult result;
  };
  const Case cases[] = {
      {"y\n", MessageResult::kOk},         {" YES \n", MessageResult::kOk},
      {"maybe\ny\n", MessageResult::kOk},  {"\n", MessageResult::kCancel},
      {"no\ny\n", MessageResult::kCancel}, {"", MessageResult::kCancel},
      {"what\n", MessageResult::kCancel},
  };
  for (const Case& c : cases) {
    TerminalUi& ui = makeUi(options(true, AutoAnswer::kNone), c.input);
    EXPECT_EQ(question(ui), c.result) << c.input;
  }
}

TEST_F(TerminalUiTest, QuestionShowsItsCaption) {
  TerminalUi& ui = makeUi(options(false, AutoAnswer::kNone));
  ui.messageBox("開始下載?", MessageButtons::kOkCancel, "安控元件安裝提示");
  EXPECT_EQ(out_.str(), "安控元件安裝提示\n開始下載? [y/N] n\n");
}

TEST_F(TerminalUiTest, ProgressOnATerminalRedrawsOneLineAndEndsItBeforeOtherOutput) {
  TerminalUi& ui = makeUi(options(false, AutoAnswer::kNone, true));
  ui.showProgress("憑證申請", "", 1, 2, "產生金鑰");
  ui.showProgress("", "", 2, 2, "送出申請");
  EXPECT_EQ(out_.str(),
            "\r憑證申請: [##########----------]  50% 產生金鑰\x1b[K"
            "\r憑證申請: [####################] 100% 送出申請\x1b[K");
  EXPECT_TRUE(clock_.sleeps().empty());

  out_.str("");
  ui.messageBox("注意");
  ui.showProgress("", "", 2, 2, "送出申請");
  ui.showProgress("", "", -1, 0, "憑證申請完成");
  EXPECT_EQ(out_.str(),
            "\n注意\n"
            "\r憑證申請: [####################] 100% 送出申請\x1b[K"
            "\r憑證申請: 憑證申請完成\x1b[K\n");
  EXPECT_EQ(clock_.sleeps(),
            std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1000)});
}

TEST_F(TerminalUiTest, ProgressElsewhereWritesOneLinePerUpdateAndWaitsAfterTheLast) {
  TerminalUi& ui = makeUi(options(false, AutoAnswer::kNone, false));
  ui.showProgress("憑證下載", "副標題", 0, 3, "連線中");
  ui.showProgress("", "", 3, 3, "寫入檔案");
  ui.showProgress("", "", -1, 3, "憑證下載完成");
  EXPECT_EQ(out_.str(), "憑證下載: 0% 連線中\n憑證下載: 100% 寫入檔案\n憑證下載: 憑證下載完成\n");
  EXPECT_EQ(clock_.sleeps(),
            std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1000)});
}

TEST_F(TerminalUiTest, AnOpenProgressLineIsEndedWhenTheUiGoes) {
  makeUi(options(false, AutoAnswer::kNone, true)).showProgress("t", "", 0, 1, "m");
  ui_.reset();
  EXPECT_EQ(out_.str().back(), '\n');
}

TEST_F(TerminalUiTest, AboutPrintsCaptionAndVersion) {
  makeUi(options(false, AutoAnswer::kNone)).showAbout();
  EXPECT_EQ(out_.str(), "關於 VALO\nVALO V 1.3\n");
}

}  // namespace
}  // namespace valo::cli
