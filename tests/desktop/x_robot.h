#ifndef VALO_TESTS_DESKTOP_X_ROBOT_H_
#define VALO_TESTS_DESKTOP_X_ROBOT_H_

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace valo::desktoptest {

// A user at the test desktop: finds windows by their caption and gives them real
// keyboard and mouse input through the X server (xdotool), as a person would.
namespace robot {

using std::chrono::milliseconds;

// The id of a shown window whose caption matches `pattern` (a regular expression), waiting
// up to `timeout` for it to appear; nullopt when none did.
std::optional<std::string> findWindow(const std::string& pattern,
                                      milliseconds timeout = milliseconds(10000));

// The ids of the shown windows whose caption matches `pattern`.
std::vector<std::string> windows(const std::string& pattern);

// Waits up to `timeout` for a shown window with that caption other than `except`.
std::optional<std::string> findOtherWindow(const std::string& pattern, const std::string& except,
                                           milliseconds timeout = milliseconds(10000));

// Whether a shown window with that caption exists now.
bool windowShown(const std::string& pattern);

// Waits up to `timeout` until no shown window's caption matches `pattern`.
bool waitUntilGone(const std::string& pattern, milliseconds timeout = milliseconds(10000));

// Gives `window` the keyboard focus and types the keys (xdotool key names: "Return",
// "Escape", "alt+space", "a").
bool pressKeys(const std::string& window, const std::vector<std::string>& keys);

// Types the keys into whatever has the focus now (a menu that just opened, say).
bool typeKeys(const std::vector<std::string>& keys);

// Clicks with the left button at (x, y) relative to `window`.
bool clickAt(const std::string& window, int x, int y);

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};
std::optional<Geometry> geometry(const std::string& window);

// Asks the window to close as a window manager does (WM_DELETE_WINDOW).
bool requestClose(const std::string& window);

}  // namespace robot
}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_X_ROBOT_H_
