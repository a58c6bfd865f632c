#ifndef VALO_CORE_RESULT_CODES_H_
#define VALO_CORE_RESULT_CODES_H_

#include <string>

namespace valo {

// Every operation returns a signed 32-bit result code, 0 for success, and fills a
// message out-parameter with formatErrorMessage(code) when it fails.
namespace code {
inline constexpr int kSuccess = 0;
inline constexpr int kUnknownError = 1;
inline constexpr int kFileDownloadFailed = 59901;
inline constexpr int kRegistrySettingsFailed = 59903;
inline constexpr int kHttpConnectFailed = 59999;
inline constexpr int kOpenFileForWriteFailed = 53301;
inline constexpr int kWriteDataFailed = 53303;
}  // namespace code

// The string-table text whose id equals `code`, or nullptr when the table has no entry.
const char* stringTableText(int code);

// The error text of a code: empty for 0; otherwise "<" code ">" followed by the
// string-table text (nothing after the brackets when the table has no entry).
std::string formatErrorMessage(int code);

}  // namespace valo

#endif  // VALO_CORE_RESULT_CODES_H_
