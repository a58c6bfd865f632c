// The dialogs of the desktop user interface, run in this process on a private X display
// and answered with real keyboard and mouse input.
#include "app/gtk/gtk_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "app/gtk/branding.h"
#include "desktop/display.h"
#include "desktop/in_process.h"
#include "desktop/process.h"
#include "desktop/watchdog.h"
#include "desktop/x_robot.h"

namespace valo::gtk {
namespace {

using desktoptest::milliseconds;
namespace robot = desktoptest::robot;

// What the progress window showed at each of its pauses; each pause also leaves a
// screenshot of it.
class RecordingClock : public platform::Clock {
 public:
  struct Pause {
    long long milliseconds;
    std::string caption;
    std::string text;
    double fraction;
    bool shown;
    bool modal;
  };

  void sleepFor(std::chrono::milliseconds duration) override {
    const CVALOPrcsDlg& dialog = ui->progressDialog();
    pauses.push_back({duration.count(), dialog.caption(), dialog.text(), dialog.fraction(),
                      dialog.shown(),
                      dialog.window() != nullptr && gtk_window_get_modal(dialog.window())});
    if (dialog.shown() && !screenshotPrefix.empty()) {
      const std::string path =
          desktoptest::saveScreenshot(desktoptest::xidOf(dialog.window()),
                                      screenshotPrefix + "-" + std::to_string(pauses.size()));
      EXPECT_FALSE(path.empty()) << "no screenshot of pause " << pauses.size();
    }
  }
  std::chrono::system_clock::time_point now() override { return std::chrono::system_clock::now(); }

  const GtkUi* ui = nullptr;
  std::string screenshotPrefix;
  std::vector<Pause> pauses;
};

class GtkUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    if (!desktoptest::initGtk(reason))
      GTEST_SKIP() << "no desktop for the window tests: " << reason;
    if (!desktoptest::haveProgram("xdotool") || !desktoptest::haveProgram("import")) {
      GTEST_SKIP() << "xdotool and ImageMagick's import are needed to play the user";
    }
    web_ = std::make_unique<WebHost>(false);
    ui_ = std::make_unique<GtkUi>(*web_, clock_);
    clock_.ui = ui_.get();
  }

  void TearDown() override {
    ui_.reset();
    web_.reset();
    desktoptest::pumpFor(milliseconds(50));
  }

  desktoptest::Watchdog watchdog_{std::chrono::seconds(90)};
  RecordingClock clock_;
  std::unique_ptr<WebHost> web_;
  std::unique_ptr<GtkUi> ui_;
};

// Answers the shown dialog captioned `caption` with `keys`, after saving its screenshot.
void answerDialog(const std::string& caption, const std::vector<std::string>& keys,
                  const std::string& screenshot) {
  desktoptest::whenLoopRuns([=] {
    GtkWindow* dialog = nullptr;
    desktoptest::pumpUntil([&] { return (dialog = desktoptest::findToplevel(caption)) != nullptr; },
                           milliseconds(5000));
    if (dialog == nullptr) {
      ADD_FAILURE() << "no window captioned " << caption;
      desktoptest::closeShownWindows();
      return;
    }
    desktoptest::pumpFor(milliseconds(300));  // let it draw before the picture
    if (!screenshot.empty()) {
      EXPECT_FALSE(desktoptest::saveScreenshot(desktoptest::xidOf(dialog), screenshot).empty());
    }
    EXPECT_TRUE(robot::pressKeys(desktoptest::xidOf(dialog), keys));
  });
}

TEST_F(GtkUiTest, MessageBoxesCarryTheProgramCaptionAndAnswerByKeyboard) {
  using platform::MessageButtons;
  using platform::MessageResult;
  struct Case {
    MessageButtons buttons;
    const char* key;
    MessageResult expected;
    const char* screenshot;
  };
  const Case cases[] = {
      {MessageButtons::kOk, "Return", MessageResult::kOk, "message-box-ok"},
      {MessageButtons::kOkCancel, "Return", MessageResult::kOk, "message-box-ok-cancel"},
      {MessageButtons::kOkCancel, "Escape", MessageResult::kCancel, ""},
      // Escape on a box whose only button is OK still means OK.
      {MessageButtons::kOk, "Escape", MessageResult::kOk, ""},
  };
  for (const Case& c : cases) {
    desktoptest::Rescue rescue;
    answerDialog(kProgramCaption, {c.key}, c.screenshot);
    EXPECT_EQ(ui_->messageBox("檔案讀取失敗, 無法讀取檔案", c.buttons, ""), c.expected)
        << "key " << c.key;
    EXPECT_FALSE(rescue.fired()) << "the key did not answer the box";
  }
  // A caption of the caller's own replaces the program's.
  desktoptest::Rescue rescue;
  answerDialog("另一個標題", {"Return"}, "");
  EXPECT_EQ(ui_->messageBox("內容", MessageButtons::kOk, "另一個標題"), MessageResult::kOk);
  EXPECT_FALSE(rescue.fired());
}

TEST_F(GtkUiTest, ProgressWindowShowsEachStepAndHidesAfterTheFinalMessage) {
  clock_.screenshotPrefix = "progress";
  ui_->showProgress("憑證申請", "", 0, 5, "產生金鑰");
  ui_->showProgress("", "", 2, 5, "送出申請");        // an empty title keeps the caption
  ui_->showProgress("", "準備中", 4, 5, "下載憑證");  // the message replaces the subtitle
  ui_->showProgress("", "", -1, 5, "憑證申請完成");

  ASSERT_EQ(clock_.pauses.size(), 4u);
  const std::vector<RecordingClock::Pause> expected = {
      {100, "憑證申請", "產生金鑰", 0.0, true, true},
      {100, "憑證申請", "送出申請", 0.4, true, true},
      {100, "憑證申請", "下載憑證", 0.8, true, true},
      {1000, "憑證申請", "憑證申請完成", 0.8, true, true},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("pause " + std::to_string(i + 1));
    EXPECT_EQ(clock_.pauses[i].milliseconds, expected[i].milliseconds);
    EXPECT_EQ(clock_.pauses[i].caption, expected[i].caption);
    EXPECT_EQ(clock_.pauses[i].text, expected[i].text);
    EXPECT_DOUBLE_EQ(clock_.pauses[i].fraction, expected[i].fraction);
    EXPECT_EQ(clock_.pauses[i].shown, expected[i].shown);
    EXPECT_EQ(clock_.pauses[i].modal, expected[i].modal);
  }
  EXPECT_FALSE(ui_->progressDialog().shown()) << "the final step hides the window";
}

TEST_F(GtkUiTest, TwoOperationsReuseOneProgressWindow) {
  ui_->showProgress("憑證展期", "", 1, 4, "第一步");
  GtkWindow* first = ui_->progressDialog().window();
  ui_->showProgress("", "", -1, 4, "完成");
  const guint toplevels = g_list_length(gtk_window_list_toplevels());

  ui_->showProgress("", "", 0, 3, "再一次");
  EXPECT_EQ(ui_->progressDialog().window(), first);
  EXPECT_EQ(g_list_length(gtk_window_list_toplevels()), toplevels);
  EXPECT_TRUE(ui_->progressDialog().shown());
  EXPECT_EQ(ui_->progressDialog().caption(), "憑證展期") << "the caption persists between uses";
  EXPECT_DOUBLE_EQ(ui_->progressDialog().fraction(), 0.0);
  ui_->showProgress("", "", -1, 3, "完成");
  EXPECT_FALSE(ui_->progressDialog().shown());
}

TEST_F(GtkUiTest, ProgressWindowStartsWithItsOwnCaptionAndCannotBeClosed) {
  ui_->showProgress("", "", 1, 2, "執行中");
  GtkWindow* window = ui_->progressDialog().window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ui_->progressDialog().caption(), kProgressCaption);
  EXPECT_EQ(desktoptest::findCloseButton(window), nullptr);
  EXPECT_TRUE(robot::requestClose(desktoptest::xidOf(window)));
  desktoptest::pumpFor(milliseconds(300));
  EXPECT_TRUE(ui_->progressDialog().shown()) << "nothing may dismiss the progress window";
  ui_->showProgress("", "", -1, 2, "完成");
}

// The agreement page's elements, as the person at the screen sees them.
struct AgreementPage {
  WebKitWebView* view = nullptr;
  GtkWindow* window = nullptr;

  static std::optional<AgreementPage> find() {
    AgreementPage page;
    desktoptest::pumpUntil(
        [&] { return (page.window = desktoptest::findToplevel(kAgreementCaption)) != nullptr; },
        milliseconds(5000));
    if (page.window == nullptr) return std::nullopt;
    page.view =
        WEBKIT_WEB_VIEW(desktoptest::findDescendant(GTK_WIDGET(page.window), WEBKIT_TYPE_WEB_VIEW));
    if (page.view == nullptr) return std::nullopt;
    const bool loaded = desktoptest::pumpUntil(
        [&] {
          auto state = desktoptest::evaluateJson(
              page.view, "document.readyState + ' ' + !!document.getElementById('chbAgree')");
          return state && *state == "\"complete true\"";
        },
        milliseconds(10000));
    if (!loaded) return std::nullopt;
    return page;
  }

  // Whether "下一步" is shown.
  bool nextShown() {
    auto shown = desktoptest::evaluateJson(
        view, "getComputedStyle(document.getElementById('ButtonOK')).display !== 'none'");
    return shown && *shown == "true";
  }

  // Clicks the element with `id` where it is on the screen.
  bool click(const std::string& id) {
    auto rect = desktoptest::evaluateJson(
        view, "(() => { const r = document.getElementById('" + id +
                  "').getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2, "
                  "r.width]; })()");
    if (!rect) return false;
    const nlohmann::json centre = nlohmann::json::parse(*rect, nullptr, false);
    if (!centre.is_array() || centre[2].get<double>() <= 0) return false;
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(GTK_WIDGET(view), GTK_WIDGET(window),
                                     static_cast<int>(centre[0].get<double>()),
                                     static_cast<int>(centre[1].get<double>()), &x, &y);
    const bool clicked = robot::clickAt(desktoptest::xidOf(window), x, y);
    desktoptest::pumpFor(milliseconds(300));
    return clicked;
  }
};

TEST_F(GtkUiTest, AgreementAcceptsOnlyAfterTheBoxIsCheckedAndNextPressed) {
  desktoptest::whenLoopRuns([] {
    std::optional<AgreementPage> page = AgreementPage::find();
    if (!page) {
      ADD_FAILURE() << "the agreement page did not come up";
      desktoptest::closeShownWindows();
      return;
    }
    EXPECT_FALSE(page->nextShown()) << "下一步 is hidden until the box is checked";
    EXPECT_FALSE(page->click("ButtonOK")) << "a hidden button cannot be clicked";
    EXPECT_TRUE(page->click("chbAgree"));
    EXPECT_TRUE(page->nextShown());
    EXPECT_TRUE(page->click("chbAgree"));
    EXPECT_FALSE(page->nextShown()) << "unchecking hides 下一步 again";
    EXPECT_TRUE(page->click("chbAgree"));
    EXPECT_FALSE(
        desktoptest::saveScreenshot(desktoptest::xidOf(page->window), "agreement").empty());
    EXPECT_NE(desktoptest::findToplevel(kAgreementCaption), nullptr)
        << "checking alone accepts nothing";
    EXPECT_TRUE(page->click("ButtonOK"));
  });
  desktoptest::Rescue rescue;
  EXPECT_TRUE(ui_->runAgreement());
  EXPECT_FALSE(rescue.fired()) << "下一步 did not end the dialog";
}

TEST_F(GtkUiTest, ClosingTheAgreementDeclinesIt) {
  // The close button, and Escape as in any dialog.
  for (const bool closeButton : {true, false}) {
    desktoptest::whenLoopRuns([closeButton] {
      std::optional<AgreementPage> page = AgreementPage::find();
      if (!page) {
        ADD_FAILURE() << "the agreement page did not come up";
        desktoptest::closeShownWindows();
        return;
      }
      EXPECT_TRUE(page->click("chbAgree"));  // checked, but never confirmed
      if (closeButton) {
        GtkWidget* close = desktoptest::findCloseButton(page->window);
        auto centre = close != nullptr ? desktoptest::centreInWindow(close) : std::nullopt;
        EXPECT_TRUE(centre.has_value()) << "the dialog has no close button";
        if (centre) {
          EXPECT_TRUE(
              robot::clickAt(desktoptest::xidOf(page->window), centre->first, centre->second));
        }
      } else {
        EXPECT_TRUE(robot::pressKeys(desktoptest::xidOf(page->window), {"Escape"}));
      }
    });
    desktoptest::Rescue rescue;
    EXPECT_FALSE(ui_->runAgreement()) << (closeButton ? "close button" : "Escape");
    EXPECT_FALSE(rescue.fired()) << "the dialog did not close";
  }
}

TEST_F(GtkUiTest, AboutBoxOpensAndReturns) {
  desktoptest::Rescue rescue;
  answerDialog(kAboutCaption, {"Return"}, "about-box");
  ui_->showAbout();
  EXPECT_FALSE(rescue.fired()) << "Return did not close the about box";
  EXPECT_EQ(desktoptest::findToplevel(kAboutCaption), nullptr);
}

}  // namespace
}  // namespace valo::gtk
