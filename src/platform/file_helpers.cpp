#include "platform/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <utility>

#include "core/file_util.h"
#include "core/result_codes.h"

namespace valo::platform {
namespace {

constexpr const char* kReadFailedMessage = "檔案讀取失敗, 無法讀取檔案";
constexpr const char* kOpenFailedMessage = "開啟資料夾失敗, 請重新指定檔案儲存資料夾";
constexpr const char* kWriteFailedMessage = "存檔失敗, 請重新指定檔案儲存位置";

// An existing folder or read-only file cannot be opened for writing. The replacement
// below would fail only at its rename, or swap a read-only file out; refuse them first.
bool existingTargetWritable(const std::string& path, bool& exists) {
  struct stat info;
  exists = ::stat(path.c_str(), &info) == 0;
  return !exists || (!S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK) == 0);
}

// Whether a file could be created at `path`, leaving nothing behind.
bool canCreate(const std::string& path, unsigned mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(path.c_str());
  return true;
}

int fail(Ui& ui, const char* message, int code) {
  ui.messageBox(message);
  return code;
}

}  // namespace

bool readWholeFile(Ui& ui, const std::string& path, std::string& content) {
  std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) {
    content.clear();
    ui.messageBox(kReadFailedMessage);
    return false;
  }
  content = std::move(*bytes);
  return true;
}

int writeFileWithFolders(Ui& ui, const std::string& path, std::string_view bytes, unsigned mode) {
  createParentFolders(path);
  bool exists = false;
  if (!existingTargetWritable(path, exists)) {
    return fail(ui, kOpenFailedMessage, code::kOpenFileForWriteFailed);
  }
  // Nothing to write is a failed write; the file stays as it was (or absent).
  if (bytes.empty()) {
    if (!exists && !canCreate(path, mode)) {
      return fail(ui, kOpenFailedMessage, code::kOpenFileForWriteFailed);
    }
    return fail(ui, kWriteFailedMessage, code::kWriteDataFailed);
  }
  switch (writeFileAtomically(path, bytes, mode)) {
    case AtomicWriteResult::kOk:
      return code::kSuccess;
    case AtomicWriteResult::kOpenFailed:
      return fail(ui, kOpenFailedMessage, code::kOpenFileForWriteFailed);
    case AtomicWriteResult::kWriteFailed:
      break;
  }
  return fail(ui, kWriteFailedMessage, code::kWriteDataFailed);
}

}  // namespace valo::platform
