#include "desktop/display.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "desktop/process.h"

namespace valo::desktoptest {
namespace {

std::string& reasonText() {
  static std::string reason;
  return reason;
}

}  // namespace

TestDesktop* TestDesktop::get() {
  static std::unique_ptr<TestDesktop> desktop = [] {
    std::unique_ptr<TestDesktop> made(new TestDesktop);
    if (!made->start(reasonText())) made.reset();
    return made;
  }();
  return desktop.get();
}

const std::string& TestDesktop::unavailableReason() { return reasonText(); }

bool TestDesktop::start(std::string& reason) {
  if (!haveProgram("Xvfb")) {
    reason = "Xvfb is not installed";
    return false;
  }
  home_ = std::make_unique<test::TempHome>();
  const std::string runtime = home_->path("runtime");
  std::filesystem::create_directories(runtime);
  chmod(runtime.c_str(), 0700);
  home_->setVariable("XDG_RUNTIME_DIR", runtime);
  // No session bus, settings daemon or accessibility bus on this desktop.
  home_->setVariable("GSETTINGS_BACKEND", "memory");
  home_->setVariable("NO_AT_BRIDGE", "1");
  home_->setVariable("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
  home_->setVariable("WAYLAND_DISPLAY", std::nullopt);
  home_->setVariable("GDK_BACKEND", "x11");

  // Xvfb picks a free display number and writes it to the descriptor we give it.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    reason = "cannot make a pipe";
    return false;
  }
  fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
  server_ = ChildProcess::start({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp", "-noreset"});
  close(pipeFds[1]);
  if (!server_) {
    close(pipeFds[0]);
    reason = "cannot start Xvfb";
    return false;
  }
  std::string number;
  pollfd poller{pipeFds[0], POLLIN, 0};
  while (poll(&poller, 1, 10000) > 0) {
    char c = 0;
    if (read(pipeFds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(pipeFds[0]);
  if (number.empty()) {
    reason = "Xvfb did not start within 10 s";
    return false;
  }
  display_ = ":" + number;
  home_->setVariable("DISPLAY", display_);
  return true;
}

TestDesktop::~TestDesktop() {
  server_.reset();
  home_.reset();
}

std::string TestDesktop::artifactDir() const {
  const char* build = std::getenv("VALO_TEST_BINARY_DIR");
  const std::string dir =
      (build != nullptr && *build ? std::string(build) : root()) + "/artifacts/desktop";
  std::filesystem::create_directories(dir);
  return dir;
}

std::string saveScreenshot(const std::string& windowId, const std::string& name) {
  TestDesktop* desktop = TestDesktop::get();
  if (desktop == nullptr) return std::string();
  const std::string path = desktop->artifactDir() + "/" + name + ".png";
  const CommandResult result = runCommand({"import", "-window", windowId, path});
  return result.finished && result.exitCode == 0 ? path : std::string();
}

}  // namespace valo::desktoptest
