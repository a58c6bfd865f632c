#include "app/startup_check.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/self_update.h"
#include "core/result_codes.h"
#include "gateway/file_download.h"
#include "gateway/reply_document.h"

namespace valo {
namespace {

constexpr int kVersionPostFailed = 53701;
constexpr int kVersionReplyUnreadable = 53703;
constexpr int kVersionRejected = 53705;

constexpr char kOutdatedText[] = "您目前使用的用戶端軟體版本過舊, 將為您自動進行軟體更新";
constexpr char kDownloadFailedText[] = "檔案下載失敗, 請稍後再重新嘗試檔案更新";
constexpr char kSwapAnnouncementText[] = "接下來將為您更新及重新啟動用戶端軟體";
constexpr char kRetireFailedText[] = "移除舊檔失敗, 請手動重新下載用戶端軟體";
constexpr char kReplaceFailedText[] = "轉置新檔案失敗, 請手動重新下載用戶端軟體";
constexpr char kRestartFailedText[] = "新版本軟體已完成更新但重新啟動失敗。";
constexpr char kCheckFailedText[] =
    "版本檢核失敗，請檢查您的網路連線狀態\n並在稍後再重新嘗試使用這個軟體";

void close(const CloseProgram& closeProgram) {
  if (closeProgram) closeProgram();
}

bool isNonEmptyFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return !error && size > 0;
}

// Downloads the successor, swaps it in and starts it; every path ends by closing.
void updateClient(Context& context, const UpdateFiles& files, const CloseProgram& closeProgram) {
  platform::Ui& ui = context.platform.ui;
  ui.messageBox(kOutdatedText);
  context.platform.clock.sleepFor(std::chrono::milliseconds(1000));
  if (files.executable.empty()) {
    // Without the program's own path there is nothing to replace.
    ui.messageBox(kRetireFailedText);
    close(closeProgram);
    return;
  }

  std::error_code ignored;
  std::filesystem::remove(files.update, ignored);
  const int downloaded = downloadFile(ui, context.gateway.endpoint().pinnedCaPem,
                                      context.config.appDownloadUrl(), files.update);
  // An empty file is no program, whatever the server said about its length.
  if (downloaded != code::kSuccess || !isNonEmptyFile(files.update)) {
    std::filesystem::remove(files.update, ignored);
    ui.messageBox(kDownloadFailedText);
    close(closeProgram);
    context.platform.clock.sleepFor(std::chrono::milliseconds(2000));
    close(closeProgram);
    return;
  }

  ui.messageBox(kSwapAnnouncementText);
  switch (swapInUpdate(files)) {
    case SwapResult::kRetireFailed:
      ui.messageBox(kRetireFailedText);
      close(closeProgram);
      return;
    case SwapResult::kReplaceFailed:
      ui.messageBox(kReplaceFailedText);
      close(closeProgram);
      return;
    case SwapResult::kSwapped:
      break;
  }
  if (!context.platform.shell.spawnDetached(files.executable, {})) {
    ui.messageBox(kRestartFailedText);
  }
  close(closeProgram);
}

}  // namespace

int checkClientVersion(Context& context, std::string& message) {
  std::string reply;
  int result = code::kSuccess;
  if (context.gateway.postRsaEnvelope(context.gateway.actionUrl("checkVersion"),
                                      {{"version", kClientVersion}}, reply) != code::kSuccess) {
    result = kVersionPostFailed;
  } else {
    std::string rtnCode;
    std::string rtnMsg;
    if (checkReply(reply, rtnCode, rtnMsg) != 0) {
      result = kVersionReplyUnreadable;
    } else if (rtnCode != "0") {
      result = kVersionRejected;
    }
  }
  message = formatErrorMessage(result);
  return result;
}

int runStartupCheck(Context& context, const CloseProgram& closeProgram) {
  const std::string executable = context.platform.shell.executablePath();
  const UpdateFiles files =
      executable.empty() ? UpdateFiles{} : UpdateFiles::forExecutable(executable);
  if (!files.retired.empty()) removeRetiredFile(files.retired, context.platform.clock);

  std::string message;
  const int result = checkClientVersion(context, message);
  if (result == kVersionRejected) {
    updateClient(context, files, closeProgram);
  } else if (result != code::kSuccess) {
    context.platform.ui.messageBox(kCheckFailedText);
    close(closeProgram);
  }
  return result;
}

}  // namespace valo
