#pragma once
// The shortcut repair phase: some updates rename a product's help files or add
// a program, and the product's Start-menu shortcuts have to follow. Acts only
// for PatchKind 6 (help shortcuts per language) and 9 (the web-page translator's
// shortcut); shows nothing and never changes the run's verdict.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace upd {

// One shortcut the product's installer makes.
struct TSkrotData {
  uint8_t Places;             // bit 2 (value 4): the product's Start-menu folder
  std::bitset<256> AppIds;
  std::bitset<8> Languages;   // display languages of the installed product
  std::string_view TargetFile;  // relative to the installation directory
  std::string_view LinkName;    // caption; file LinkName + ".lnk"
};

// The product's display name per display language, which is also the name of
// its Start-menu folder; empty where the product has no such language.
std::string_view ProductFolderName(int32_t appId, int language);

// The shortcut table rows the phase can act on (and the rows it carries).
const TSkrotData* ShortcutTable(size_t& count);

void RepairShortcuts(int32_t appId, int32_t patchKind, const std::string& installDir);

}  // namespace upd
