#include "app/gtk/web_host.h"

#include <gio/gio.h>

#include <cstring>

#include "app/gtk/branding.h"
#include "app/gtk/bridge_channel.h"
#include "app/gtk/page_policy.h"

// The compiled-in resources (res/valo.gresource.xml).
extern "C" void valo_res_register_resource(void);

namespace valo::gtk {
namespace {

constexpr char kScheme[] = "res";
constexpr char kHost[] = "valo";
constexpr char kOwnPrefix[] = "res://valo/";
constexpr char kResourceRoot[] = "/valo/res";

const char* contentTypeOf(std::string_view path) {
  struct Type {
    const char* extension;
    const char* contentType;
  };
  static constexpr Type kTypes[] = {
      {".html", "text/html"},    {".css", "text/css"},     {".js", "text/javascript"},
      {".png", "image/png"},     {".gif", "image/gif"},    {".jpg", "image/jpeg"},
      {".svg", "image/svg+xml"}, {".ico", "image/x-icon"},
  };
  for (const Type& type : kTypes) {
    if (path.ends_with(type.extension)) return type.contentType;
  }
  return "application/octet-stream";
}

gboolean onContextMenu(WebKitWebView*, WebKitContextMenu* menu, GdkEvent*, WebKitHitTestResult*,
                       gpointer) {
  return trimContextMenu(menu) ? TRUE : FALSE;
}

void registerResourcesOnce() {
  static const bool registered = [] {
    valo_res_register_resource();
    return true;
  }();
  (void)registered;
}

}  // namespace

WebHost::WebHost(bool automation)
    : automation_(automation), context_(webkit_web_context_new_ephemeral()) {
  registerResourcesOnce();
  WebKitWebContext* context = context_.get();
  // One page at a time and nothing to go back to: the smallest caches will do.
  webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  webkit_web_context_register_uri_scheme(context, kScheme, &WebHost::onSchemeRequest, this,
                                         nullptr);
  webkit_security_manager_register_uri_scheme_as_secure(
      webkit_web_context_get_security_manager(context), kScheme);
  if (automation_) {
    webkit_web_context_set_automation_allowed(context, TRUE);
    g_signal_connect(context, "automation-started", G_CALLBACK(&WebHost::onAutomationStarted),
                     this);
  }
}

WebHost::~WebHost() {
  if (automation_) g_signal_handlers_disconnect_by_data(context_.get(), this);
}

GtkWidget* WebHost::createView(WebKitUserContentManager* contentManager) {
  // A page of text and forms needs no GPU: painting in software keeps the page's process
  // about 60 MiB smaller and starts no GPU process.
  WebKitSettings* settings = webkit_settings_new_with_settings(
      "default-charset", "utf-8", "enable-developer-extras", FALSE,
      "enable-write-console-messages-to-stdout", automation_ ? TRUE : FALSE,
      "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
      "enable-back-forward-navigation-gestures", FALSE, nullptr);
  GtkWidget* view =
      GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context_.get(), "settings",
                              settings, "user-content-manager", contentManager,
                              "is-controlled-by-automation", automation_ ? TRUE : FALSE, nullptr));
  g_object_unref(settings);
  g_signal_connect(view, "context-menu", G_CALLBACK(onContextMenu), nullptr);
  return view;
}

void WebHost::setBridge(WebKitWebView* view, BridgeHandler handler) {
  bridgeView_ = view;
  bridgeHandler_ = std::move(handler);
}

void WebHost::clearBridge() {
  bridgeView_ = nullptr;
  bridgeHandler_ = nullptr;
}

bool WebHost::isOwnUri(std::string_view uri) { return uri.starts_with(kOwnPrefix); }

void WebHost::respond(WebKitURISchemeRequest* request, std::string_view body,
                      const char* contentType) {
  GBytesPtr bytes(g_bytes_new(body.data(), body.size()));
  GObjectPtr<GInputStream> stream(g_memory_input_stream_new_from_bytes(bytes.get()));
  GObjectPtr<WebKitURISchemeResponse> response(
      webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(body.size())));
  webkit_uri_scheme_response_set_content_type(response.get(), contentType);
  webkit_uri_scheme_request_finish_with_response(request, response.get());
}

void WebHost::respondWithError(WebKitURISchemeRequest* request, const char* reason) {
  GErrorPtr error(g_error_new_literal(G_IO_ERROR, G_IO_ERROR_FAILED, reason));
  webkit_uri_scheme_request_finish_error(request, error.get());
}

void WebHost::onSchemeRequest(WebKitURISchemeRequest* request, gpointer self) {
  auto* host = static_cast<WebHost*>(self);
  const char* uri = webkit_uri_scheme_request_get_uri(request);
  const char* path = webkit_uri_scheme_request_get_path(request);
  if (uri == nullptr || path == nullptr || !isOwnUri(uri)) {
    respondWithError(request, "unknown resource");
    return;
  }
  const std::string_view pathView(path);
  if (pathView.starts_with(kBridgePathPrefix)) {
    const std::string_view name = pathView.substr(std::strlen(kBridgePathPrefix));
    if (host->bridgeHandler_ &&
        webkit_uri_scheme_request_get_web_view(request) == host->bridgeView_) {
      host->bridgeHandler_(request, name);
    } else {
      respondWithError(request, "no bridge for this page");
    }
    return;
  }
  host->serveResource(request, path);
}

void WebHost::serveResource(WebKitURISchemeRequest* request, const std::string& path) {
  GBytesPtr data(g_resources_lookup_data((kResourceRoot + path).c_str(),
                                         G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr));
  if (!data) {
    respondWithError(request, "no such resource");
    return;
  }
  gsize size = 0;
  const auto* bytes = static_cast<const char*>(g_bytes_get_data(data.get(), &size));
  respond(request, std::string_view(bytes, size), contentTypeOf(path));
}

void WebHost::onAutomationStarted(WebKitWebContext*, WebKitAutomationSession* session,
                                  gpointer self) {
  WebKitApplicationInfo* info = webkit_application_info_new();
  webkit_application_info_set_name(info, kAutomationName);
  webkit_application_info_set_version(info, 1, 3, 0);
  webkit_automation_session_set_application_info(session, info);
  webkit_application_info_unref(info);
  g_signal_connect(session, "create-web-view", G_CALLBACK(&WebHost::onCreateWebView), self);
}

WebKitWebView* WebHost::onCreateWebView(WebKitAutomationSession*, gpointer self) {
  return static_cast<WebHost*>(self)->automationView_;
}

}  // namespace valo::gtk
