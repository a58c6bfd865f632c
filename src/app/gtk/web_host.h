#ifndef VALO_APP_GTK_WEB_HOST_H_
#define VALO_APP_GTK_WEB_HOST_H_

#include <webkit2/webkit2.h>

#include <functional>
#include <string>
#include <string_view>

#include "app/gtk/gtk_ptr.h"

namespace valo::gtk {

// The web engine of the process: one WebKit context that keeps nothing on disk, whose
// res://valo/ scheme serves the pages and images compiled into the program, and which
// hands each bridge request of the main page to the main window.
//
// With automation (valo --automation) a WebDriver client may drive the program: the
// session's browsing context is the main window's view, and every view is created
// controlled by automation.
//
// The host must outlive every view created from it.
class WebHost {
 public:
  static constexpr char kMainPageUrl[] = "res://valo/main.html";
  static constexpr char kAgreementPageUrl[] = "res://valo/agreement.html";
  // The window icon, as a resource path.
  static constexpr char kIconResource[] = "/valo/res/icons/valo-128.png";

  // Called with the request and the method name of res://valo/__bridge/<name>; it must
  // finish the request (with respond or respondWithError) before it returns.
  using BridgeHandler = std::function<void(WebKitURISchemeRequest* request, std::string_view name)>;

  explicit WebHost(bool automation);
  ~WebHost();
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  WebKitWebContext* context() const { return context_.get(); }
  bool automation() const { return automation_; }

  // A new view with this program's settings and the page scripts of `contentManager`
  // (a floating reference, as GTK widgets come).
  GtkWidget* createView(WebKitUserContentManager* contentManager);

  // Bridge requests made by `view` go to `handler`; those of any other view fail.
  void setBridge(WebKitWebView* view, BridgeHandler handler);
  void clearBridge();

  // The view a WebDriver session drives.
  void setAutomationView(WebKitWebView* view) { automationView_ = view; }

  // Whether `uri` names one of the program's own pages or resources.
  static bool isOwnUri(std::string_view uri);

  // Finishes `request` with `body` as its content.
  static void respond(WebKitURISchemeRequest* request, std::string_view body,
                      const char* contentType);
  // Finishes `request` as failed: the page sees a network error.
  static void respondWithError(WebKitURISchemeRequest* request, const char* reason);

 private:
  static void onSchemeRequest(WebKitURISchemeRequest* request, gpointer self);
  static void onAutomationStarted(WebKitWebContext* context, WebKitAutomationSession* session,
                                  gpointer self);
  static WebKitWebView* onCreateWebView(WebKitAutomationSession* session, gpointer self);
  void serveResource(WebKitURISchemeRequest* request, const std::string& path);

  bool automation_;
  GObjectPtr<WebKitWebContext> context_;
  WebKitWebView* bridgeView_ = nullptr;
  BridgeHandler bridgeHandler_;
  WebKitWebView* automationView_ = nullptr;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_WEB_HOST_H_
