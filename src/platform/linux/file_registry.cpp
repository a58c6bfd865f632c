#include "platform/linux/file_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/file_util.h"
#include "platform/linux/reg_file_syntax.h"

namespace valo::platform {
namespace {

constexpr const char* kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

const char* rootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// Owns an open file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool ensureFolder(const std::string& folder) {
  createParentFolders(folder);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info;
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Holds the exclusive lock of one hive for as long as it lives.
FileDescriptor lockHive(const std::string& hivePath) {
  const std::string lockPath = hivePath + ".lock";
  FileDescriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd.valid()) return FileDescriptor(-1);
  int rc;
  do {
    rc = ::flock(fd.get(), LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return FileDescriptor(-1);
  return fd;
}

}  // namespace

FileRegistry::FileRegistry(std::string folder, std::string desktopFolderName)
    : folder_(std::move(folder)), desktopFolderName_(std::move(desktopFolderName)) {}

std::string FileRegistry::hivePath(RegistryRoot root) const {
  return folder_ + "/" + rootName(root) + ".reg";
}

std::optional<RegistryHive> FileRegistry::load(RegistryRoot root) {
  const std::string path = hivePath(root);
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return RegistryHive(rootName(root));
    return std::nullopt;
  }
  std::optional<std::string> text = readFileBytes(path);
  if (!text) return std::nullopt;
  return RegistryHive::parse(rootName(root), *text);
}

bool FileRegistry::store(RegistryRoot root, const RegistryHive& hive) {
  // The writer syncs the file and the folder, so a hive written is a hive kept.
  return writeFileAtomically(hivePath(root), hive.serialize(), 0600) == AtomicWriteResult::kOk;
}

template <typename ChangeFunction>
bool FileRegistry::update(RegistryRoot root, ChangeFunction change) {
  if (!ensureFolder(folder_)) return false;
  FileDescriptor lock = lockHive(hivePath(root));
  if (!lock.valid()) return false;
  std::optional<RegistryHive> hive = load(root);
  if (!hive) return false;
  switch (change(*hive)) {
    case Change::kNone:
      return true;
    case Change::kFailed:
      return false;
    case Change::kChanged:
      break;
  }
  return store(root, *hive);
}

void FileRegistry::seedOnFirstUse(RegistryRoot root) {
  if (root != RegistryRoot::kCurrentUser || seedAttempted_ || desktopFolderName_.empty()) return;
  seedAttempted_ = true;
  const std::vector<std::string> path = *splitKeyPath(kUserShellFoldersKey);
  const RegistryValue desktop = RegistryValue::ExpandString("%USERPROFILE%\\" + desktopFolderName_);
  update(root, [&](RegistryHive& hive) {
    bool created = false;
    RegistryHive::Key& key = hive.create(path, created);
    if (RegistryHive::findValue(key, "Desktop") != nullptr) return Change::kNone;
    RegistryHive::setValue(key, "Desktop", desktop);
    return Change::kChanged;
  });
}

bool FileRegistry::keyExists(RegistryRoot root, const std::string& key) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return false;
  std::optional<RegistryHive> hive = load(root);
  return hive && hive->find(*path) != nullptr;
}

bool FileRegistry::createKey(RegistryRoot root, const std::string& key) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return false;
  return update(root, [&](RegistryHive& hive) {
    bool created = false;
    hive.create(*path, created);
    return created ? Change::kChanged : Change::kNone;
  });
}

std::optional<RegistryValue> FileRegistry::queryValue(RegistryRoot root, const std::string& key,
                                                      const std::string& name) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return std::nullopt;
  std::optional<RegistryHive> hive = load(root);
  if (!hive) return std::nullopt;
  const RegistryHive::Key* found = hive->find(*path);
  if (found == nullptr) return std::nullopt;
  const RegistryValue* value = RegistryHive::findValue(*found, name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

bool FileRegistry::setValue(RegistryRoot root, const std::string& key, const std::string& name,
                            const RegistryValue& value) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path || !isStorableName(name)) return false;
  return update(root, [&](RegistryHive& hive) {
    bool created = false;
    RegistryHive::Key& target = hive.create(*path, created);
    const bool changed = RegistryHive::setValue(target, name, value);
    return created || changed ? Change::kChanged : Change::kNone;
  });
}

std::vector<std::string> FileRegistry::subKeys(RegistryRoot root, const std::string& key) {
  seedOnFirstUse(root);
  std::vector<std::string> names;
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return names;
  std::optional<RegistryHive> hive = load(root);
  if (!hive) return names;
  const RegistryHive::Key* found = hive->find(*path);
  if (found == nullptr) return names;
  for (const RegistryHive::Key& child : found->subKeys) names.push_back(child.name);
  return names;
}

bool FileRegistry::deleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return false;
  return update(root, [&](RegistryHive& hive) {
    RegistryHive::Key* target = hive.find(*path);
    if (target == nullptr || !RegistryHive::eraseValue(*target, name)) return Change::kFailed;
    return Change::kChanged;
  });
}

bool FileRegistry::deleteKey(RegistryRoot root, const std::string& key) {
  seedOnFirstUse(root);
  std::optional<std::vector<std::string>> path = splitKeyPath(key);
  if (!path) return false;
  return update(root, [&](RegistryHive& hive) {
    return hive.remove(*path) ? Change::kChanged : Change::kFailed;
  });
}

}  // namespace valo::platform
