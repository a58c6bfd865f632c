#ifndef VALO_TESTS_DESKTOP_DISPLAY_H_
#define VALO_TESTS_DESKTOP_DISPLAY_H_

#include <memory>
#include <string>

#include "desktop/process.h"
#include "support/temp_home.h"

namespace valo::desktoptest {

// The private desktop of a test process: an Xvfb server on a free display number, and
// HOME, VALO_HOME, TMPDIR and the XDG folders pointing into a fresh temporary folder, so
// neither the user's screen nor the user's files are touched. Made once per process, on
// first use, and torn down at exit.
class TestDesktop {
 public:
  // The desktop, or null when none can be had (see unavailableReason).
  static TestDesktop* get();
  static const std::string& unavailableReason();

  const std::string& display() const { return display_; }
  const std::string& root() const { return home_->root(); }
  // Where the tests leave their screenshots: <build>/artifacts/desktop.
  std::string artifactDir() const;

  ~TestDesktop();

 private:
  TestDesktop() = default;
  bool start(std::string& reason);

  std::string display_;
  std::unique_ptr<test::TempHome> home_;
  std::unique_ptr<ChildProcess> server_;
};

// Saves a screenshot of the X window `windowId` (or the whole screen for "root") as
// <artifact dir>/<name>.png; returns the path, empty on failure.
std::string saveScreenshot(const std::string& windowId, const std::string& name);

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_DISPLAY_H_
