#include "platform/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

#include "core/file_util.h"
#include "core/result_codes.h"

namespace valo::platform {
namespace {

constexpr const char* kReadFailedMessage = "檔案讀取失敗, 無法讀取檔案";
constexpr const char* kOpenFailedMessage = "開啟資料夾失敗, 請重新指定檔案儲存資料夾";
constexpr const char* kWriteFailedMessage = "存檔失敗, 請重新指定檔案儲存位置";

// Whether `path` could be opened for writing, without changing an existing file and
// without leaving a new one behind. An existing folder or read-only file cannot.
bool canOpenForWriting(const std::string& path, unsigned mode) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    return !S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK) == 0;
  }
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
  // The replacement below would swap out a read-only file or fail only at the rename;
  // refuse such targets up front as opening them for writing would.
  if (!canOpenForWriting(path, mode)) {
    return fail(ui, kOpenFailedMessage, code::kOpenFileForWriteFailed);
  }
  if (bytes.empty()) return fail(ui, kWriteFailedMessage, code::kWriteDataFailed);
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
