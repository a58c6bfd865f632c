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
// separator names. Errors are ignored (the write that follows reports them).
void createParentFolders(const std::string& path);

enum class AtomicWriteResult { kOk, kOpenFailed, kWriteFailed };

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk and
// renames it over `path`, so the target is either the old file or the complete new one.
// `mode` is the permission of the new file (before the umask). kOpenFailed when the
// temporary file cannot be created; kWriteFailed when writing, syncing or renaming fails
// (the temporary file is removed and an existing target is left untouched).
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                      unsigned mode = 0644);

}  // namespace valo

#endif  // VALO_CORE_FILE_UTIL_H_
