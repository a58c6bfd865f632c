#include "app/gtk/application.h"

#include <gtk/gtk.h>

#include <cstring>

#include "app/gtk/branding.h"
#include "app/gtk/gtk_ui.h"
#include "app/gtk/main_window.h"
#include "app/gtk/web_host.h"
#include "app/script_bridge.h"
#include "app/startup_check.h"
#include "platform/linux/linux_platform.h"
#include "session/context.h"

namespace valo::gtk {

int CVALOApp::run(int argc, char** argv) {
  g_set_prgname("valo");
  gtk_init(&argc, &argv);
  g_set_application_name(kDisplayName);
  bool automation = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--automation") == 0) automation = true;
  }

  platform::LinuxPlatform platform;
  WebHost web(automation);
  GtkUi ui(web, platform.clock());
  Context context(platform.services(ui));

  CVALODlg window(web, ui);
  ScriptBridge bridge(context, [&window] { window.requestClose(); });
  window.setDispatcher([&bridge](std::string_view method, const std::vector<std::string>& args) {
    return bridge.call(method, args);
  });
  ui.setMainWindow(window.window());
  window.loadPage();

  // The version check runs while the window is still hidden: it may show message boxes,
  // update the program and close the window, which then ends without the page being seen.
  runStartupCheck(context, [&window] { window.requestClose(); });

  window.run();
  ui.setMainWindow(nullptr);
  return 0;
}

}  // namespace valo::gtk
