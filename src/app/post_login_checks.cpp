#include "app/post_login_checks.h"

#include <time.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/security_component.h"
#include "core/file_util.h"
#include "core/result_codes.h"
#include "gateway/file_download.h"
#include "platform/temp_files.h"
#include "session/registry_settings.h"

namespace valo {
namespace {

constexpr char kQuestionCaption[] = "安控元件安裝提示";
constexpr char kQuestionText[] =
    "您尚未安裝安控元件或目前使用的版本需要更新。\n\n開始下載安控元件安裝檔並進行安控元件安裝??";
constexpr char kDownloadFailedText[] = "安控元件安裝檔下載失敗，請稍後再重新嘗試下載及安裝";
constexpr char kDownloadDoneText[] = "安控元件安裝檔下載完成，現在將開始為您啟動安控元件安裝程序";

std::string installerFolder(Context& context) {
  const std::string temporary = platform::tempFolder();
  std::error_code error;
  if (!temporary.empty() && std::filesystem::is_directory(temporary, error)) return temporary;
  const std::string fallback = context.config.userHome() + kPathSeparator + "NOSK";
  std::filesystem::create_directories(fallback, error);
  return fallback;
}

std::string localTimeStamp(std::chrono::system_clock::time_point now) {
  const time_t seconds = std::chrono::system_clock::to_time_t(now);
  // The time zone may have changed since the last conversion.
  tzset();
  struct tm local {};
  char text[32] = "";
  if (localtime_r(&seconds, &local) != nullptr) {
    strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
  }
  return text;
}

void installSecurityComponent(Context& context) {
  platform::Ui& ui = context.platform.ui;
  const std::string installer = securityComponentInstallerPath(context);
  if (downloadFile(ui, context.gateway.endpoint().pinnedCaPem,
                   context.config.componentDownloadUrl(), installer) != code::kSuccess) {
    ui.messageBox(kDownloadFailedText);
    return;
  }
  ui.messageBox(kDownloadDoneText);
  context.platform.shell.openWithDesktop(installer);
}

}  // namespace

std::string securityComponentInstallerPath(Context& context) {
  std::string folder = installerFolder(context);
  if (folder.empty() || folder.back() != kPathSeparator) folder.push_back(kPathSeparator);
  return folder + localTimeStamp(context.platform.clock.now()) + ".msi";
}

void runPostLoginChecks(Context& context) {
  if (!isSecurityComponentCurrent(context) &&
      context.platform.ui.messageBox(kQuestionText, platform::MessageButtons::kOkCancel,
                                     kQuestionCaption) == platform::MessageResult::kOk) {
    installSecurityComponent(context);
  }
  applyRegistrySettings(context);
}

}  // namespace valo
