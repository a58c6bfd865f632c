#ifndef VALO_APP_GTK_MESSAGE_BOX_H_
#define VALO_APP_GTK_MESSAGE_BOX_H_

#include <gtk/gtk.h>

#include <string>

#include "platform/ui.h"

namespace valo::gtk {

// A modal message box: `text`, the buttons "確定" (and "取消"), `caption` in the title bar.
// Enter answers OK; Escape and the close button answer Cancel (OK when OK is the only
// button). `parent` may be null.
platform::MessageResult runMessageBox(GtkWindow* parent, const std::string& caption,
                                      const std::string& text, platform::MessageButtons buttons);

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_MESSAGE_BOX_H_
