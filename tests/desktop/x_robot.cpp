#include "desktop/x_robot.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <sstream>
#include <thread>

#include "desktop/process.h"

namespace valo::desktoptest::robot {
namespace {

std::vector<std::string> searchWindows(const std::string& pattern) {
  const CommandResult result =
      runCommand({"xdotool", "search", "--onlyvisible", "--name", pattern}, milliseconds(5000));
  std::vector<std::string> ids;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) ids.push_back(line);
  }
  return ids;
}

bool run(const std::vector<std::string>& argv) {
  const CommandResult result = runCommand(argv, milliseconds(5000));
  return result.finished && result.exitCode == 0;
}

}  // namespace

std::optional<std::string> findWindow(const std::string& pattern, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::vector<std::string> ids = searchWindows(pattern);
    if (!ids.empty()) return ids.back();
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(milliseconds(50));
  }
}

std::vector<std::string> windows(const std::string& pattern) { return searchWindows(pattern); }

std::optional<std::string> findOtherWindow(const std::string& pattern, const std::string& except,
                                           milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    for (const std::string& id : searchWindows(pattern)) {
      if (id != except) return id;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(milliseconds(50));
  }
}

bool windowShown(const std::string& pattern) { return !searchWindows(pattern).empty(); }

bool waitUntilGone(const std::string& pattern, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (windowShown(pattern)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

bool pressKeys(const std::string& window, const std::vector<std::string>& keys) {
  if (!run({"xdotool", "windowfocus", window})) return false;
  std::this_thread::sleep_for(milliseconds(100));
  return typeKeys(keys);
}

bool typeKeys(const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    if (!run({"xdotool", "key", "--delay", "50", key})) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

bool clickAt(const std::string& window, int x, int y) {
  return run({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y),
              "click", "1"});
}

std::optional<Geometry> geometry(const std::string& window) {
  const CommandResult result =
      runCommand({"xdotool", "getwindowgeometry", "--shell", window}, milliseconds(5000));
  if (!result.finished || result.exitCode != 0) return std::nullopt;
  Geometry g;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const int value = std::atoi(line.c_str() + equals + 1);
    if (key == "X") g.x = value;
    if (key == "Y") g.y = value;
    if (key == "WIDTH") g.width = value;
    if (key == "HEIGHT") g.height = value;
  }
  return g;
}

bool requestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const ::Window id = std::strtoul(window.c_str(), nullptr, 10);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = id;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, id, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0;
}

}  // namespace valo::desktoptest::robot
