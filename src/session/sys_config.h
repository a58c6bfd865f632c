#ifndef VALO_SESSION_SYS_CONFIG_H_
#define VALO_SESSION_SYS_CONFIG_H_

#include <functional>
#include <string>

#include "core/param_map.h"

namespace valo {

// The configuration store: key -> text. It counts as loaded exactly when it is not
// empty; every get made while it is empty first runs the loader (the gateway's system
// configuration), with no retry limit. There are no built-in defaults: an absent key
// reads as the empty text, and a get never creates an entry.
class SysConfig {
 public:
  // Fills the store through `set`; a failed load leaves it empty and says nothing.
  using Loader = std::function<void(SysConfig& config)>;

  SysConfig() = default;
  SysConfig(const SysConfig&) = delete;
  SysConfig& operator=(const SysConfig&) = delete;

  void setLoader(Loader loader) { loader_ = std::move(loader); }

  // The value of `key`, loading the store first when it is empty.
  std::string get(const std::string& key);
  // Stores the value, replacing an earlier one. Never triggers a load, so a set made
  // while the store is empty suppresses the load.
  void set(const std::string& key, const std::string& value);

  bool isLoaded() const { return !entries_.empty(); }
  const ParamMap& entries() const { return entries_; }

  std::string userHome() { return get("env.userHome"); }
  std::string appDownloadUrl() { return get("app.dlUrl"); }
  std::string componentDownloadUrl() { return get("noskCpnt.dlUrl"); }
  std::string userPfxFilePath() { return get("env.userPfxFilePath"); }
  std::string pfxPasswordPrompt() { return get("pfx.pwd.prompt"); }

 private:
  ParamMap entries_;
  Loader loader_;
};

// The protocol and client version, sent as `version` and reported to the page.
inline constexpr char kClientVersion[] = "1.3";

}  // namespace valo

#endif  // VALO_SESSION_SYS_CONFIG_H_
