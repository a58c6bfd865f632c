#ifndef VALO_TESTS_DESKTOP_IN_PROCESS_H_
#define VALO_TESTS_DESKTOP_IN_PROCESS_H_

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace valo::desktoptest {

using std::chrono::milliseconds;

// GTK in the test process itself, on the test desktop; false with `reason` when there is
// no desktop for it.
bool initGtk(std::string& reason);

// Runs the main loop for a while, or until `done` holds (false when it never did).
void pumpFor(milliseconds duration);
bool pumpUntil(const std::function<bool()>& done, milliseconds timeout);

// Runs `script` from the main loop as soon as it runs again: the way to act on a modal
// dialog from inside the call that shows it. The script may pump the loop itself.
void whenLoopRuns(std::function<void()> script);

// A shown top-level window with this caption, or null.
GtkWindow* findToplevel(const std::string& title);
// The X window id of a top-level window, as xdotool takes it.
std::string xidOf(GtkWindow* window);
// The first widget of `type` inside `root` (internal children included), or null.
GtkWidget* findDescendant(GtkWidget* root, GType type);
// The close button of a window's title bar, or null.
GtkWidget* findCloseButton(GtkWindow* window);
// The centre of `widget` in the coordinates of its top-level window.
std::optional<std::pair<int, int>> centreInWindow(GtkWidget* widget);

// Runs `script` in the page of `view` and returns its result as JSON text.
std::optional<std::string> evaluateJson(WebKitWebView* view, const std::string& script,
                                        milliseconds timeout = milliseconds(5000));

// Closes every shown modal window as its close button would.
void closeShownWindows();

// The fallback for a test whose answer to a dialog never arrived: when the call that
// shows the dialog has not returned within `timeout`, closes every modal window so that
// it does. A modal loop only ends once the code it runs returns, so the answer cannot
// wait for the dialog to go away; the test checks fired() after the call instead.
class Rescue {
 public:
  explicit Rescue(milliseconds timeout = milliseconds(15000));
  ~Rescue();
  Rescue(const Rescue&) = delete;
  Rescue& operator=(const Rescue&) = delete;
  bool fired() const { return fired_; }

 private:
  static gboolean onTimeout(gpointer self);
  guint source_;
  bool fired_ = false;
};

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_IN_PROCESS_H_
