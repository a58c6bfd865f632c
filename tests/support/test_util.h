#ifndef VALO_TESTS_SUPPORT_TEST_UTIL_H_
#define VALO_TESTS_SUPPORT_TEST_UTIL_H_

#include <chrono>
#include <functional>
#include <string>

namespace valo::test {

// Small file and process helpers shared by the tests of every area.

// Writes `content` to `path`, replacing it; throws when it cannot.
void writeTextFile(const std::string& path, const std::string& content);
// The content of `path`, or "" when it cannot be read.
std::string readTextFile(const std::string& path);
bool fileExists(const std::string& path);

// Writes an executable /bin/sh script with `body` after the "#!/bin/sh" line.
void writeScript(const std::string& path, const std::string& body);

// Waits until `path` exists and is not empty; false when `limit` passes first. For
// effects of detached processes, which nothing can wait for directly.
bool waitForFile(const std::string& path,
                 std::chrono::milliseconds limit = std::chrono::seconds(20));

// Runs `body` in a forked child process and returns its result as the child's exit
// status (0..255), or -1 when the child did not exit normally. The child ends with
// _exit, so nothing of the parent's (buffers, test results) is flushed twice.
int runInChildProcess(const std::function<int()>& body);

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_TEST_UTIL_H_
