#include "app/gtk/progress_dialog.h"

#include <algorithm>
#include <chrono>

#include "app/gtk/branding.h"
#include "app/gtk/gtk_ptr.h"
#include "app/gtk/window_chrome.h"

namespace valo::gtk {
namespace {

// A bar about 16 dialog units high, as on the original window.
constexpr char kStyle[] =
    "progressbar trough, progressbar progress { min-height: 20px; }"
    "progressbar trough { min-width: 240px; }";

gboolean refuseClose(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

}  // namespace

CVALOPrcsDlg::CVALOPrcsDlg(platform::Clock& clock) : clock_(clock) {}

CVALOPrcsDlg::~CVALOPrcsDlg() {
  if (window_ != nullptr) gtk_widget_destroy(window_);
}

void CVALOPrcsDlg::create(GtkWindow* parent) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(window_);
  installTitleBar(window, kProgressCaption, /*closeButton=*/false);
  setProgramIcon(window);
  gtk_window_set_deletable(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_transient_for(window, parent);
  // No close button, and no other way to dismiss it either.
  g_signal_connect(window_, "delete-event", G_CALLBACK(refuseClose), nullptr);

  GObjectPtr<GtkCssProvider> css(gtk_css_provider_new());
  gtk_css_provider_load_from_data(css.get(), kStyle, -1, nullptr);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(box), 24);
  bar_ = gtk_progress_bar_new();
  gtk_style_context_add_provider(gtk_widget_get_style_context(bar_), GTK_STYLE_PROVIDER(css.get()),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  label_ = gtk_label_new(kProgressInitialText);
  gtk_label_set_justify(GTK_LABEL(label_), GTK_JUSTIFY_CENTER);
  gtk_label_set_ellipsize(GTK_LABEL(label_), PANGO_ELLIPSIZE_END);
  gtk_label_set_max_width_chars(GTK_LABEL(label_), 30);
  gtk_box_pack_start(GTK_BOX(box), bar_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), label_, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window_), box);
  gtk_widget_show_all(box);
  // About 196 x 63 dialog units.
  gtk_window_set_default_size(window, 294, 102);
}

void CVALOPrcsDlg::update(GtkWindow* parent, const std::string& title, const std::string& subtitle,
                          int position, int range, const std::string& message) {
  if (window_ == nullptr) {
    create(parent);
    setRange(range);
  }
  if (position < 0) {
    setText(message);
    repaintNow(window_);
    clock_.sleepFor(std::chrono::milliseconds(1000));
    gtk_widget_hide(window_);
    gdk_display_flush(gtk_widget_get_display(window_));
    return;
  }
  if (!title.empty()) {
    setTitle(GTK_WINDOW(window_), title.c_str());
    repaintNow(window_);
  }
  if (!subtitle.empty()) {
    setText(subtitle);
    repaintNow(window_);
  }
  setRange(range);
  setPosition(position);
  setText(message);
  repaintNow(window_);
  showOver(parent);
  clock_.sleepFor(std::chrono::milliseconds(100));
}

void CVALOPrcsDlg::setRange(int range) {
  range_ = range;
  setPosition(position_);
}

void CVALOPrcsDlg::setPosition(int position) {
  // A bar holds its position within its range, as a progress control does.
  position_ = range_ > 0 ? std::clamp(position, 0, range_) : 0;
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar_),
                                range_ > 0 ? static_cast<double>(position_) / range_ : 0.0);
}

void CVALOPrcsDlg::setText(const std::string& text) {
  gtk_label_set_text(GTK_LABEL(label_), text.c_str());
}

void CVALOPrcsDlg::showOver(GtkWindow* parent) {
  GtkWindow* window = GTK_WINDOW(window_);
  if (!gtk_widget_get_visible(window_)) {
    gtk_window_set_transient_for(window, parent);
    gtk_window_set_position(window,
                            parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_widget_show(window_);
  }
  repaintNow(window_);
}

std::string CVALOPrcsDlg::caption() const {
  const char* title = window_ != nullptr ? gtk_window_get_title(GTK_WINDOW(window_)) : nullptr;
  return title != nullptr ? title : kProgressCaption;
}

std::string CVALOPrcsDlg::text() const {
  return label_ != nullptr ? gtk_label_get_text(GTK_LABEL(label_)) : kProgressInitialText;
}

double CVALOPrcsDlg::fraction() const {
  return bar_ != nullptr ? gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(bar_)) : 0.0;
}

bool CVALOPrcsDlg::shown() const { return window_ != nullptr && gtk_widget_get_visible(window_); }

}  // namespace valo::gtk
