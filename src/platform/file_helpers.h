#ifndef VALO_PLATFORM_FILE_HELPERS_H_
#define VALO_PLATFORM_FILE_HELPERS_H_

#include <string>
#include <string_view>

#include "platform/ui.h"

namespace valo::platform {

// The whole content of a file. When it cannot be opened, shows the message box
// "檔案讀取失敗, 無法讀取檔案" (OK only) and returns false with `content` emptied.
bool readWholeFile(Ui& ui, const std::string& path, std::string& content);

// Creates the missing folders of `path`, then writes `bytes` through a temporary file in
// the same folder renamed into place, so a failed write leaves an earlier file intact.
// Returns 0; 53301 after the message box "開啟資料夾失敗, 請重新指定檔案儲存資料夾" when the
// file cannot be created; 53303 after "存檔失敗, 請重新指定檔案儲存位置" when the bytes are not
// written (an empty `bytes` included). `mode` is the new file's permission.
int writeFileWithFolders(Ui& ui, const std::string& path, std::string_view bytes,
                         unsigned mode = 0644);

}  // namespace valo::platform

#endif  // VALO_PLATFORM_FILE_HELPERS_H_
