#include "app/self_update.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "core/file_util.h"

namespace valo {
namespace {

namespace fs = std::filesystem;

constexpr int kRemoveAttempts = 20;
constexpr std::chrono::milliseconds kRemovePause(500);

bool pathPresent(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// Keeps the running program under the retired name without ever moving it away.
bool keepAsRetired(const UpdateFiles& files) {
  if (pathPresent(files.retired)) return false;
  std::error_code error;
  fs::create_hard_link(files.executable, files.retired, error);
  if (!error) return true;
  // A file system without hard links: a complete copy serves the same purpose.
  std::optional<std::string> bytes = readFileBytes(files.executable);
  if (!bytes || pathPresent(files.retired)) return false;
  return writeFileAtomically(files.retired, *bytes, 0755) == AtomicWriteResult::kOk;
}

}  // namespace

UpdateFiles UpdateFiles::forExecutable(const std::string& executable) {
  return {executable, executable + ".new", executable + ".dpc"};
}

bool removeRetiredFile(const std::string& retired, platform::Clock& clock) {
  if (!pathPresent(retired)) return true;
  for (int attempt = 1;; ++attempt) {
    std::error_code error;
    fs::remove(retired, error);
    if (!pathPresent(retired)) return true;
    if (attempt == kRemoveAttempts) return false;
    clock.sleepFor(kRemovePause);
  }
}

SwapResult swapInUpdate(const UpdateFiles& files) {
  std::error_code error;
  fs::permissions(files.update, static_cast<fs::perms>(0755), fs::perm_options::replace, error);
  if (error) return SwapResult::kReplaceFailed;
  if (!keepAsRetired(files)) return SwapResult::kRetireFailed;
  fs::rename(files.update, files.executable, error);
  if (error) {
    // The program is still in place, so its second name is only clutter.
    std::error_code ignored;
    fs::remove(files.retired, ignored);
    return SwapResult::kReplaceFailed;
  }
  return SwapResult::kSwapped;
}

}  // namespace valo
