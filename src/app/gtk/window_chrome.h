#ifndef VALO_APP_GTK_WINDOW_CHROME_H_
#define VALO_APP_GTK_WINDOW_CHROME_H_

#include <gtk/gtk.h>

namespace valo::gtk {

// Gives `window` a title bar drawn by the program itself, so that its caption and its
// close button (when it has one) look the same with any window manager or none.
// Returns the title bar.
GtkWidget* installTitleBar(GtkWindow* window, const char* title, bool closeButton);

// Sets the caption shown by a title bar of installTitleBar.
void setTitle(GtkWindow* window, const char* title);

// The program's icon at `size` pixels (a new reference), or null when it cannot be had.
GdkPixbuf* programIcon(int size);

// Sets the program's icon on `window`.
void setProgramIcon(GtkWindow* window);

// Draws `window` now. The callers of the progress window keep the main loop busy while
// they work, and queued drawing alone reaches the screen only when the loop runs, so this
// runs the loop until the window has painted itself (bounded to half a second). Nothing
// happens when the window is not shown.
void repaintNow(GtkWidget* window);

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_WINDOW_CHROME_H_
