#include "app/client_core.h"

#include "core/text_util.h"

namespace valo {

int ClientCore::openFileManager(Context& context, const std::string& path) {
  std::string target = path.empty() ? context.config.userPfxFilePath() : path;
  target = trimWhiteSpace(target);
  if (!target.empty()) context.platform.shell.showInFileManager(target);
  return 0;
}

}  // namespace valo
