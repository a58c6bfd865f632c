#include "platform/linux/registry_hive.h"

#include <algorithm>

#include "platform/linux/reg_file_syntax.h"

namespace valo::platform {
namespace {

constexpr std::string_view kFileHeader = "Windows Registry Editor Version 5.00";

// Windows allows no deeper nesting; the limit also bounds the recursion below.
constexpr size_t kMaxKeyDepth = 512;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

RegistryHive::Key* findChild(RegistryHive::Key& key, std::string_view name) {
  for (RegistryHive::Key& child : key.subKeys) {
    if (namesEqual(child.name, name)) return &child;
  }
  return nullptr;
}

void serializeKey(const RegistryHive::Key& key, const std::string& path, bool isRoot,
                  std::string& out) {
  if (!isRoot || !key.values.empty()) {
    out += "[" + path + "]\n";
    for (const auto& [name, value] : key.values) out += formatValueLine(name, value) + "\n";
    out += "\n";
  }
  for (const RegistryHive::Key& child : key.subKeys) {
    serializeKey(child, path + "\\" + child.name, false, out);
  }
}

std::string_view trimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

std::string_view trimLineStart(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

}  // namespace

bool namesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<std::vector<std::string>> splitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    if (!name.empty()) {
      if (!isStorableName(name) || names.size() == kMaxKeyDepth) return std::nullopt;
      names.emplace_back(name);
    }
    start = end + 1;
  }
  return names;
}

RegistryHive::RegistryHive(std::string rootName) : rootName_(std::move(rootName)) {
  root_.name = rootName_;
}

RegistryHive RegistryHive::parse(std::string rootName, std::string_view text) {
  RegistryHive hive(std::move(rootName));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Key* current = nullptr;  // null while inside a section this hive does not keep
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(trimLineEnd(text.substr(pos, end - pos)));
    pos = end + 1;
    while (isContinuedValueLine(line) && pos < text.size()) {
      end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      line.pop_back();
      line += trimLineStart(trimLineEnd(text.substr(pos, end - pos)));
      pos = end + 1;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.size() < 2 || line.back() != ']') continue;
      const std::string_view inside = std::string_view(line).substr(1, line.size() - 2);
      const size_t separator = inside.find('\\');
      if (!namesEqual(inside.substr(0, separator), hive.rootName_)) continue;
      std::optional<std::vector<std::string>> path = splitKeyPath(
          separator == std::string_view::npos ? std::string_view() : inside.substr(separator + 1));
      if (!path) continue;
      bool created = false;
      current = &hive.create(*path, created);
      continue;
    }
    if (current == nullptr) continue;
    std::optional<std::pair<std::string, RegistryValue>> value = parseValueLine(line);
    if (value) setValue(*current, value->first, value->second);
  }
  return hive;
}

std::string RegistryHive::serialize() const {
  std::string out(kFileHeader);
  out += "\n\n";
  serializeKey(root_, rootName_, true, out);
  return out;
}

const RegistryHive::Key* RegistryHive::find(const std::vector<std::string>& path) const {
  return const_cast<RegistryHive*>(this)->find(path);
}

RegistryHive::Key* RegistryHive::find(const std::vector<std::string>& path) {
  Key* key = &root_;
  for (const std::string& name : path) {
    key = findChild(*key, name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

RegistryHive::Key& RegistryHive::create(const std::vector<std::string>& path, bool& created) {
  created = false;
  Key* key = &root_;
  for (const std::string& name : path) {
    Key* child = findChild(*key, name);
    if (child == nullptr) {
      key->subKeys.push_back(Key{name, {}, {}});
      child = &key->subKeys.back();
      created = true;
    }
    key = child;
  }
  return *key;
}

bool RegistryHive::remove(const std::vector<std::string>& path) {
  if (path.empty()) return false;
  Key* parent = find(std::vector<std::string>(path.begin(), path.end() - 1));
  if (parent == nullptr) return false;
  auto it = std::find_if(parent->subKeys.begin(), parent->subKeys.end(),
                         [&](const Key& child) { return namesEqual(child.name, path.back()); });
  if (it == parent->subKeys.end()) return false;
  parent->subKeys.erase(it);
  return true;
}

const RegistryValue* RegistryHive::findValue(const Key& key, std::string_view name) {
  for (const auto& [valueName, value] : key.values) {
    if (namesEqual(valueName, name)) return &value;
  }
  return nullptr;
}

bool RegistryHive::setValue(Key& key, const std::string& name, const RegistryValue& value) {
  for (auto& [valueName, stored] : key.values) {
    if (namesEqual(valueName, name)) {
      if (stored == value) return false;
      stored = value;
      return true;
    }
  }
  key.values.emplace_back(name, value);
  return true;
}

bool RegistryHive::eraseValue(Key& key, std::string_view name) {
  auto it = std::find_if(key.values.begin(), key.values.end(),
                         [&](const auto& entry) { return namesEqual(entry.first, name); });
  if (it == key.values.end()) return false;
  key.values.erase(it);
  return true;
}

}  // namespace valo::platform
