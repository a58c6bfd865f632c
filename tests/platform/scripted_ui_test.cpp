#include "platform/scripted_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valo::platform {
namespace {

TEST(ScriptedUi, AnswersFromItsQueuesAndDefaultsToTheSafeChoice) {
  ScriptedUi ui;
  ui.queueMessageBoxAnswer(MessageResult::kOk);
  ui.queueAgreementAnswer(true);

  Ui& asUi = ui;
  EXPECT_EQ(asUi.messageBox("info"), MessageResult::kOk);  // takes nothing from the queue
  EXPECT_EQ(asUi.messageBox("continue?", MessageButtons::kOkCancel, "VALO"), MessageResult::kOk);
  EXPECT_EQ(asUi.messageBox("again?", MessageButtons::kOkCancel, ""), MessageResult::kCancel);
  EXPECT_TRUE(asUi.runAgreement());
  EXPECT_FALSE(asUi.runAgreement());
  EXPECT_EQ(ui.unusedAnswers(), 0u);

  ASSERT_EQ(ui.messageBoxes().size(), 3u);
  EXPECT_EQ(ui.messageBoxes()[1].caption, "VALO");
  EXPECT_EQ(ui.messageBoxes()[1].buttons, MessageButtons::kOkCancel);
  EXPECT_TRUE(ui.messageBoxes()[1].scripted);
  EXPECT_FALSE(ui.messageBoxes()[2].scripted);
  EXPECT_EQ(ui.messageBoxes()[2].answer, MessageResult::kCancel);
  EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"info", "continue?", "again?"}));
  ASSERT_EQ(ui.agreementCalls().size(), 2u);
  EXPECT_TRUE(ui.agreementCalls()[0].scripted);
  EXPECT_FALSE(ui.agreementCalls()[1].scripted);
}

TEST(ScriptedUi, RecordsProgressAndTheOrderOfEverything) {
  ScriptedUi ui;
  ui.showProgress("憑證申請", "", 1, 5, "產生金鑰");
  ui.messageBox("done");
  ui.showProgress("", "", -1, 5, "憑證申請完成");
  ui.showAbout();
  EXPECT_EQ(ui.progressCalls(),
            (std::vector<ScriptedUi::ProgressCall>{{"憑證申請", "", 1, 5, "產生金鑰"},
                                                   {"", "", -1, 5, "憑證申請完成"}}));
  EXPECT_EQ(ui.aboutCount(), 1);
  EXPECT_EQ(ui.transcript(),
            (std::vector<std::string>{"progress: 憑證申請||1|5|產生金鑰", "messageBox: done",
                                      "progress: ||-1|5|憑證申請完成", "about"}));
}

}  // namespace
}  // namespace valo::platform
