#ifndef VALO_APP_GTK_APPLICATION_H_
#define VALO_APP_GTK_APPLICATION_H_

namespace valo::gtk {

// The desktop program: one main window, shown modally; the process ends when it closes.
// The only argument it knows is --automation, which lets a WebDriver client drive the
// window (for tests).
class CVALOApp {
 public:
  int run(int argc, char** argv);
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_APPLICATION_H_
