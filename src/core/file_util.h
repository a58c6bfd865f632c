#ifndef VALO_CORE_FILE_UTIL_H_
#define VALO_CORE_FILE_UTIL_H_

#include <optional>
#include <string>
#include <string_view>

namespace valo {

// The platform's path separator (where Windows writes a backslash).
inline constexpr char kPathSeparator = '/';

// The whole content of a file, or nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);

// Creates, from left to right, every folder that a prefix of `path` ending just before a
// separator names (mode 0777 less the umask). Errors are ignored (the write that follows
// reports them).
void createParentFolders(const std::string& path);

enum class AtomicWriteResult { kOk, kOpenFailed, kWriteFailed };

// Writes `bytes` to a temporary file in the target's folder (a hidden unique name beside
// it), flushes it to disk, gives it `mode` (less the umask) and renames it over `path`, then
// syncs the folder; so the target is either the old file or the complete new one. An empty
// `bytes` writes an empty file. kOpenFailed when the temporary file cannot be created (a
// missing or unwritable folder, or a path that names no file); kWriteFailed when writing,
// syncing or renaming fails. On failure the temporary file is removed and an existing
// target is left untouched. Missing folders are not created (see createParentFolders).
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                      unsigned mode = 0644);

}  // namespace valo

#endif  // VALO_CORE_FILE_UTIL_H_
