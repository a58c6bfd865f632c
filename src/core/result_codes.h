#ifndef VALO_CORE_RESULT_CODES_H_
#define VALO_CORE_RESULT_CODES_H_

#include <span>
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
// Codes that several subsystems return for the same cause.
inline constexpr int kUserCancelled = 53401;
inline constexpr int kStoreOpenFailed = 53001;
inline constexpr int kNoMatchingCert = 53005;
inline constexpr int kPkcs12ParseFailed = 52403;
inline constexpr int kLastActiveCertFailed = 54603;
inline constexpr int kMyStoreOpenFailed = 54609;
inline constexpr int kTempStoreOpenFailed = 54611;
inline constexpr int kCertNotInMyStore = 54615;
inline constexpr int kActivationReportFailed = 54701;
}  // namespace code

// One entry of the string table: the id (a result code) and its Traditional Chinese text.
struct StringTableEntry {
  int code;
  const char* text;
};

// The whole string table, sorted by strictly ascending code. Codes that operations
// return without a table entry (999, 55703) are absent.
std::span<const StringTableEntry> stringTable();

// The string-table text whose id equals `code`, or nullptr when the table has no entry.
const char* stringTableText(int code);

// The error text of a code: empty for 0; otherwise "<" code ">" followed by the
// string-table text (nothing after the brackets when the table has no entry).
std::string formatErrorMessage(int code);

}  // namespace valo

#endif  // VALO_CORE_RESULT_CODES_H_
