// A close asked for before the window is shown (the start-up check refusing to go on):
// the window closes without ever appearing.
#include <gtest/gtest.h>

#include "app/gtk/gtk_ui.h"
#include "app/gtk/main_window.h"
#include "app/gtk/web_host.h"
#include "desktop/in_process.h"
#include "desktop/watchdog.h"
#include "support/fake_clock.h"

namespace valo::gtk {
namespace {

gboolean noteMapped(GtkWidget*, GdkEvent*, gpointer mapped) {
  *static_cast<bool*>(mapped) = true;
  return FALSE;
}

TEST(StartupCloseTest, ACloseBeforeTheWindowIsShownEndsItUnseen) {
  std::string reason;
  if (!desktoptest::initGtk(reason)) GTEST_SKIP() << "no desktop for the window tests: " << reason;
  desktoptest::Watchdog watchdog(std::chrono::seconds(60));
  test::FakeClock clock;
  WebHost web(false);
  GtkUi ui(web, clock);
  CVALODlg window(web, ui);
  bool mapped = false;
  g_signal_connect(window.window(), "map-event", G_CALLBACK(noteMapped), &mapped);
  window.loadPage();

  window.requestClose();  // as the start-up check does
  EXPECT_NE(window.window(), nullptr) << "nothing closes before the window runs";
  window.run();
  EXPECT_EQ(window.window(), nullptr);
  desktoptest::pumpFor(std::chrono::milliseconds(200));
  EXPECT_FALSE(mapped) << "the window appeared";
}

}  // namespace
}  // namespace valo::gtk
