#ifndef VALO_GATEWAY_FILE_DOWNLOAD_H_
#define VALO_GATEWAY_FILE_DOWNLOAD_H_

#include <string>

#include "platform/ui.h"

namespace valo {

// Downloads `url` (redirects followed; https verified against the system trust store plus
// `pinnedCaPem`) into the file `path`, created or truncated once the status is known to be
// 200. The progress window (title "檔案下載") shows "開始下載檔案 ..." at 0, then, in
// 1024-byte steps, "檔案下載中, 已下載 <n> KB  ..." each time the percentage rises more
// than 10 points above the last one shown, the same text with the final size at 100, and
// "檔案下載完成 ..." as the closing step. Without a Content-Length the percentage is
// unknown: the received kilobytes are shown at position 0 every 256 KB.
//
// Returns 0; 1 for an empty URL or one that cannot be requested; 59901 for a status
// other than 200, a network error, a body shorter or longer than its Content-Length, or a
// file that cannot be written. On failure no partial file is left at `path`.
int downloadFile(platform::Ui& ui, const std::string& pinnedCaPem, const std::string& url,
                 const std::string& path);

}  // namespace valo

#endif  // VALO_GATEWAY_FILE_DOWNLOAD_H_
