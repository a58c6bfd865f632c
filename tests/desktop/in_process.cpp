#include "desktop/in_process.h"

#include <gdk/gdkx.h>

#include <thread>

#include "desktop/display.h"

namespace valo::desktoptest {

bool initGtk(std::string& reason) {
  static bool initialized = false;
  static std::string failure;
  if (!initialized && failure.empty()) {
    if (TestDesktop::get() == nullptr) {
      failure = TestDesktop::unavailableReason();
    } else if (!gtk_init_check(nullptr, nullptr)) {
      failure = "GTK cannot open the test display";
    } else {
      initialized = true;
    }
  }
  reason = failure;
  return initialized;
}

void pumpFor(milliseconds duration) {
  pumpUntil([] { return false; }, duration);
}

bool pumpUntil(const std::function<bool()>& done, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) {
      std::this_thread::sleep_for(milliseconds(2));
    }
  }
  return true;
}

namespace {

gboolean runScript(gpointer data) {
  auto* script = static_cast<std::function<void()>*>(data);
  (*script)();
  delete script;
  return G_SOURCE_REMOVE;
}

}  // namespace

void whenLoopRuns(std::function<void()> script) {
  g_timeout_add(50, runScript, new std::function<void()>(std::move(script)));
}

GtkWindow* findToplevel(const std::string& title) {
  GList* windows = gtk_window_list_toplevels();
  GtkWindow* found = nullptr;
  for (GList* node = windows; node != nullptr; node = node->next) {
    GtkWindow* window = GTK_WINDOW(node->data);
    const char* caption = gtk_window_get_title(window);
    if (caption != nullptr && title == caption && gtk_widget_get_visible(GTK_WIDGET(window))) {
      found = window;
    }
  }
  g_list_free(windows);
  return found;
}

std::string xidOf(GtkWindow* window) {
  GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
  return gdkWindow != nullptr ? std::to_string(GDK_WINDOW_XID(gdkWindow)) : std::string();
}

namespace {

struct Search {
  GType type;
  const char* styleClass;
  GtkWidget* found;
};

void searchChild(GtkWidget* widget, gpointer data) {
  auto* search = static_cast<Search*>(data);
  if (search->found != nullptr) return;
  if (G_TYPE_CHECK_INSTANCE_TYPE(widget, search->type) &&
      (search->styleClass == nullptr ||
       gtk_style_context_has_class(gtk_widget_get_style_context(widget), search->styleClass))) {
    search->found = widget;
    return;
  }
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), searchChild, data);
}

}  // namespace

GtkWidget* findDescendant(GtkWidget* root, GType type) {
  Search search{type, nullptr, nullptr};
  gtk_container_forall(GTK_CONTAINER(root), searchChild, &search);
  return search.found;
}

GtkWidget* findCloseButton(GtkWindow* window) {
  GtkWidget* bar = gtk_window_get_titlebar(window);
  if (bar == nullptr) return nullptr;
  Search search{GTK_TYPE_BUTTON, "close", nullptr};
  gtk_container_forall(GTK_CONTAINER(bar), searchChild, &search);
  return search.found;
}

std::optional<std::pair<int, int>> centreInWindow(GtkWidget* widget) {
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  int x = 0;
  int y = 0;
  if (!gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget),
                                        allocation.width / 2, allocation.height / 2, &x, &y)) {
    return std::nullopt;
  }
  return std::make_pair(x, y);
}

namespace {

struct Evaluation {
  bool done = false;
  std::optional<std::string> json;
};

void evaluated(GObject* source, GAsyncResult* result, gpointer data) {
  auto* evaluation = static_cast<Evaluation*>(data);
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
  if (value != nullptr) {
    char* json = jsc_value_to_json(value, 0);
    evaluation->json = json != nullptr ? json : "null";
    g_free(json);
    g_object_unref(value);
  }
  evaluation->done = true;
}

}  // namespace

std::optional<std::string> evaluateJson(WebKitWebView* view, const std::string& script,
                                        milliseconds timeout) {
  auto* evaluation = new Evaluation;
  webkit_web_view_evaluate_javascript(view, script.c_str(), -1, nullptr, nullptr, nullptr,
                                      evaluated, evaluation);
  if (!pumpUntil([evaluation] { return evaluation->done; }, timeout)) {
    return std::nullopt;  // the callback may still come; the record is left to it
  }
  std::optional<std::string> json = evaluation->json;
  delete evaluation;
  return json;
}

void closeShownWindows() {
  GList* windows = gtk_window_list_toplevels();
  for (GList* node = windows; node != nullptr; node = node->next) {
    GtkWindow* window = GTK_WINDOW(node->data);
    if (gtk_widget_get_visible(GTK_WIDGET(window)) && gtk_window_get_modal(window)) {
      gtk_window_close(window);
    }
  }
  g_list_free(windows);
}

Rescue::Rescue(milliseconds timeout)
    : source_(g_timeout_add(static_cast<guint>(timeout.count()), &Rescue::onTimeout, this)) {}

Rescue::~Rescue() {
  if (source_ != 0) g_source_remove(source_);
}

gboolean Rescue::onTimeout(gpointer self) {
  auto* rescue = static_cast<Rescue*>(self);
  rescue->source_ = 0;
  rescue->fired_ = true;
  closeShownWindows();
  return G_SOURCE_REMOVE;
}

}  // namespace valo::desktoptest
