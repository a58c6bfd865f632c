// A test program: the desktop window built exactly as `valo` builds it, with a few bridge
// methods answered here so that tests can make the page's calls do what they need:
//
//   qrySvrCertInfo(text)  replies `text` unchanged
//   replaceCert(text)     shows `text` in an OK/Cancel message box; replies "OK" or "CANCEL"
//   crtNewCert(text)      runs the agreement dialog; replies "OK" or "CANCEL"
//   dlCert(ms)            keeps the program busy for `ms` milliseconds; replies "done"
//   getFnStatus(text)     throws, as a broken operation would
//   doLogout(text)        replies the number `text`
//
// Every other call goes to the real bridge. Run with --automation. When VALO_HARNESS_LOG
// names a file, every call that returns is noted there ("method -> reply"), so a test
// can tell that a call completed even when the window closed right after it.
#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "app/gtk/gtk_ui.h"
#include "app/gtk/main_window.h"
#include "app/gtk/web_host.h"
#include "app/script_bridge.h"
#include "platform/linux/linux_platform.h"
#include "session/context.h"

namespace {

using valo::BridgeReply;
using valo::BridgeReturn;

BridgeReply text(std::string value) {
  return BridgeReply{BridgeReturn::kText, std::move(value), 0};
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  bool automation = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--automation") == 0) automation = true;
  }
  valo::platform::LinuxPlatform platform;
  valo::gtk::WebHost web(automation);
  valo::gtk::GtkUi ui(web, platform.clock());
  valo::Context context(platform.services(ui));
  valo::gtk::CVALODlg window(web, ui);
  valo::ScriptBridge bridge(context, [&window] { window.requestClose(); });
  auto answer = [&](std::string_view method,
                    const std::vector<std::string>& args) -> std::optional<BridgeReply> {
    const std::string arg = args.empty() ? std::string() : args[0];
    if (method == "qrySvrCertInfo") return text(arg);
    if (method == "replaceCert") {
      const auto pressed = ui.messageBox(arg, valo::platform::MessageButtons::kOkCancel, "");
      return text(pressed == valo::platform::MessageResult::kOk ? "OK" : "CANCEL");
    }
    if (method == "crtNewCert") return text(ui.runAgreement() ? "OK" : "CANCEL");
    if (method == "dlCert") {
      g_usleep(static_cast<gulong>(std::stoul(arg)) * 1000);
      return text("done");
    }
    if (method == "getFnStatus") throw std::runtime_error("broken operation");
    if (method == "doLogout") {
      return BridgeReply{BridgeReturn::kShort, {}, static_cast<int16_t>(std::stoi(arg))};
    }
    return bridge.call(method, args);
  };
  const char* logPath = std::getenv("VALO_HARNESS_LOG");
  window.setDispatcher([&](std::string_view method, const std::vector<std::string>& args) {
    std::optional<BridgeReply> reply = answer(method, args);
    if (logPath != nullptr) {
      std::ofstream log(logPath, std::ios::app);
      log << method << " -> " << (reply ? reply->text : "(failed)") << "\n";
    }
    return reply;
  });
  ui.setMainWindow(window.window());
  window.loadPage();
  window.run();
  ui.setMainWindow(nullptr);
  return 0;
}
