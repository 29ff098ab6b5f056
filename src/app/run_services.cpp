// The real services and phases of the update run.

#include "app/product_identity.h"
#include "app/run_update.h"
#include "dictionary/dictionary_patch.h"
#include "engine/identification.h"
#include "install/install_dir.h"
#include "install/shortcut_repair.h"
#include "install/word_startup.h"
#include "payload/rebuild.h"

namespace upd {

RunServices RunServices::Defaults() {
  RunServices s;
  s.getInstallDir = [](int32_t appId) { return GetInstallDir(appId); };
  s.identifyFileVersion = [](int entry, const std::string& path) {
    return static_cast<int>(IdentifyFileVersion(entry, path));
  };
  s.rebuildFile = [](int entry, const std::string& path) { return RebuildFile(entry, path); };
  s.listWordStartupDirs = [](std::vector<std::string>& lines) { return ListWordStartupDirs(lines); };
  s.dictionaryPhase = [](RunHost& host, const std::string& dir) {
    return DictionaryPhase(host, Product().AppId, dir);
  };
  s.repairShortcuts = [](const std::string& dir) { RepairShortcuts(Product().AppId, PatchKind(), dir); };
  return s;
}

}  // namespace upd
