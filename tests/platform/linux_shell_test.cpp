#include "platform/linux/linux_shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_home.h"
#include "support/test_util.h"

namespace valo::platform {
namespace {

using std::chrono::milliseconds;

// Gone, or a zombie waiting for init: either way no longer running.
bool processRunning(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z' &&
         line[close + 2] != 'X';
}

bool processEnds(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processRunning(pid)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return true;
}

class LinuxShellTest : public ::testing::Test {
 protected:
  // A script in the test's own bin folder, which is first in PATH.
  std::string script(const std::string& name, const std::string& body) {
    std::filesystem::create_directories(bin);
    const std::string path = bin + "/" + name;
    test::writeScript(path, body);
    return path;
  }
  // A fake desktop tool that records its arguments, one a line, in <root>/<name>.args.
  void recordingTool(const std::string& name, int exitCode) {
    script(name, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + home.path(name) +
                     ".part'\n/bin/mv '" + home.path(name) + ".part' '" + home.path(name) +
                     ".args'\nexit " + std::to_string(exitCode));
  }
  std::string recorded(const std::string& name) {
    return test::waitForFile(home.path(name + ".args"))
               ? test::readTextFile(home.path(name + ".args"))
               : "(never ran)";
  }

  test::TempHome home;
  std::string bin = home.path("bin");
  LinuxShell shell;
};

TEST_F(LinuxShellTest, RunForFirstLineTakesTheFirstLineOfASuccessfulRun) {
  struct Case {
    std::string body;
    std::vector<std::string> arguments;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"echo 1.2.3; echo second", {}, "1.2.3"},
      {"printf 'no line break'", {}, "no line break"},
      {"printf 'crlf\\r\\nnext\\n'", {}, "crlf"},
      {"exit 0", {}, ""},
      {"echo \"$1|$2\"", {"a b", "c'd"}, "a b|c'd"},
      {"read x; echo \"stdin:$x\"", {}, "stdin:"},
      {"echo to-stderr >&2; echo out", {}, "out"},
      // Much more output than a pipe holds must not stall the program.
      {"yes | head -c 2000000", {}, "y"},
      {"echo out; exit 3", {}, std::nullopt},
      {"echo out; kill -9 $$", {}, std::nullopt},
  };
  int index = 0;
  for (const Case& c : cases) {
    const std::string path = script("run" + std::to_string(index++), c.body);
    EXPECT_EQ(shell.runForFirstLine(path, c.arguments, std::chrono::seconds(20)), c.expected)
        << c.body;
  }
  EXPECT_EQ(shell.runForFirstLine(home.path("missing"), {}, std::chrono::seconds(5)), std::nullopt);
  test::writeTextFile(home.path("not-executable"), "#!/bin/sh\necho hi\n");
  EXPECT_EQ(shell.runForFirstLine(home.path("not-executable"), {}, std::chrono::seconds(5)),
            std::nullopt);
  home.prependToPath(bin);
  EXPECT_EQ(shell.runForFirstLine("run0", {}, std::chrono::seconds(20)), "1.2.3");
}

TEST_F(LinuxShellTest, RunForFirstLineKillsAProgramThatRunsPastTheLimit) {
  // Still writing: the program and the helper it started are both killed.
  const std::string pids = home.path("pids");
  const std::string slow =
      script("slow", "echo early\nsleep 30 & echo $! > '" + pids + ".part'\necho $$ >> '" + pids +
                         ".part'\n/bin/mv '" + pids + ".part' '" + pids + "'\nwait");
  EXPECT_EQ(shell.runForFirstLine(slow, {}, milliseconds(500)), std::nullopt);
  ASSERT_TRUE(test::waitForFile(pids));
  std::ifstream in(pids);
  pid_t helper = 0, program = 0;
  in >> helper >> program;
  EXPECT_TRUE(processEnds(helper));
  EXPECT_TRUE(processEnds(program));

  // Output closed but not exited.
  const std::string lingering = script("lingering", "echo early\nexec >&-\nexec sleep 30");
  EXPECT_EQ(shell.runForFirstLine(lingering, {}, milliseconds(300)), std::nullopt);
  // No child of ours is left behind.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(LinuxShellTest, SpawnDetachedStartsAProgramInANewSessionAndLeavesNoZombie) {
  const std::string marker = home.path("marker");
  // The descriptors are read before the output is redirected into the marker.
  const std::string program =
      script("detached",
             "in=$(/bin/readlink /proc/$$/fd/0); out=$(/bin/readlink /proc/$$/fd/1)\n"
             "{ echo \"$1\"; echo \"$in\"; echo \"$out\"; /usr/bin/cut -d' ' -f4,6 /proc/$$/stat;"
             " echo $$; } > '" +
                 marker + ".part'\n/bin/mv '" + marker + ".part' '" + marker + "'");
  ASSERT_TRUE(shell.spawnDetached(program, {"argument with spaces"}));
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  ASSERT_TRUE(test::waitForFile(marker));
  std::ifstream in(marker);
  std::string argument, stdinTarget, stdoutTarget;
  pid_t parent = 0, session = 0, pid = 0;
  std::getline(in, argument);
  std::getline(in, stdinTarget);
  std::getline(in, stdoutTarget);
  in >> parent >> session >> pid;
  EXPECT_EQ(argument, "argument with spaces");
  EXPECT_EQ(stdinTarget, "/dev/null");
  EXPECT_EQ(stdoutTarget, "/dev/null");
  EXPECT_EQ(session, pid);  // a session leader
  EXPECT_NE(parent, ::getpid());

  EXPECT_FALSE(shell.spawnDetached(home.path("missing"), {}));
  home.prependToPath(bin);
  std::filesystem::remove(marker);
  EXPECT_TRUE(shell.spawnDetached("detached", {"by name"}));
  ASSERT_TRUE(test::waitForFile(marker));
  EXPECT_EQ(test::readTextFile(marker).substr(0, 8), "by name\n");
}

TEST_F(LinuxShellTest, OpenWithDesktopHandsThePathToXdgOpen) {
  recordingTool("xdg-open", 0);
  home.setVariable("PATH", bin);
  EXPECT_TRUE(shell.openWithDesktop("https://127.0.0.1/a b?x=1"));
  EXPECT_EQ(recorded("xdg-open"), "https://127.0.0.1/a b?x=1\n");
}

TEST_F(LinuxShellTest, ShowInFileManagerAsksOverDBusAndFallsBackToTheFolder) {
  recordingTool("gdbus", 1);  // the file manager service is not there
  recordingTool("xdg-open", 0);
  home.setVariable("PATH", bin);
  const std::string folder = home.path("my files");
  std::filesystem::create_directories(folder);
  test::writeTextFile(folder + "/證書 'a'.pfx", "x");

  shell.showInFileManager(folder + "/證書 'a'.pfx");
  const std::string gdbus = recorded("gdbus");
  EXPECT_NE(gdbus.find("--method\norg.freedesktop.FileManager1.ShowItems\n"), std::string::npos)
      << gdbus;
  EXPECT_NE(gdbus.find("['file://" + home.root() +
                       "/my%20files/%E8%AD%89%E6%9B%B8%20%27a%27.pfx']\n''\n"),
            std::string::npos)
      << gdbus;
  EXPECT_EQ(recorded("xdg-open"), folder + "\n");
}

TEST_F(LinuxShellTest, ShowInFileManagerOpensTheFolderWhenGdbusIsMissingOrTheFileIs) {
  recordingTool("xdg-open", 0);
  home.setVariable("PATH", bin);  // no gdbus here
  const std::string file = home.path("report.pfx");
  test::writeTextFile(file, "x");
  shell.showInFileManager(file);
  EXPECT_EQ(recorded("xdg-open"), home.root() + "\n");

  std::filesystem::remove(home.path("xdg-open.args"));
  recordingTool("gdbus", 0);
  shell.showInFileManager(home.path("later/never-written.pfx"));
  EXPECT_EQ(recorded("xdg-open"), home.path("later") + "\n");
  EXPECT_FALSE(test::fileExists(home.path("gdbus.args")));
}

TEST_F(LinuxShellTest, ExecutablePathIsThisProgram) {
  const std::string path = shell.executablePath();
  EXPECT_EQ(path, std::filesystem::canonical("/proc/self/exe").string());
  EXPECT_EQ(std::filesystem::path(path).filename(), "platform_tests");
}

}  // namespace
}  // namespace valo::platform
