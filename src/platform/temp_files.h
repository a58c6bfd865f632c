#ifndef VALO_PLATFORM_TEMP_FILES_H_
#define VALO_PLATFORM_TEMP_FILES_H_

#include <optional>
#include <string>

namespace valo::platform {

// The temporary folder ($TMPDIR, default /tmp), without a trailing separator.
std::string tempFolder();

// Creates a new empty file in the temporary folder whose name starts with `prefix`
// (mkstemp) and returns its path, or nullopt on failure.
std::optional<std::string> createTempFile(const std::string& prefix);

}  // namespace valo::platform

#endif  // VALO_PLATFORM_TEMP_FILES_H_
