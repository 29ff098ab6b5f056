#include "install/shortcut_repair.h"

#include <array>

#include "install/shell_folders.h"
#include "platform/files.h"
#include "util/pl_text.h"

namespace upd {
namespace {

constexpr int kAppIds = 13;
constexpr int kLanguages = 8;

// Start-menu folder names, in code page 1250 like every text of the logic. Only the products whose updates
// touch shortcuts need them; the rest stay empty.
constexpr std::array<std::array<std::string_view, kLanguages>, kAppIds + 1> kProductFolderNames = [] {
  std::array<std::array<std::string_view, kLanguages>, kAppIds + 1> t{};
  // AppId 4: the German-Polish translator.
  t[4][0] = "T\xB3" "umacz niemiecko-polski 2.2";
  t[4][3] = "\xDC" "bersetzer Deutsch-Polnisch 2.2";
  // AppId 6: the English-Polish translator.
  t[6][0] = "T\xB3" "umacz angielsko-polski 2.5";
  t[6][1] = "Ruzari-Vedurir Irorovad 2.5";
  return t;
}();

std::bitset<256> Ids(std::initializer_list<int> ids) {
  std::bitset<256> set;
  for (int id : ids) set.set(static_cast<size_t>(id));
  return set;
}

std::bitset<8> Langs(std::initializer_list<int> languages) {
  std::bitset<8> set;
  for (int l : languages) set.set(static_cast<size_t>(l));
  return set;
}

// Rows 63 and 64 of the installer's table are the two the phase can act on;
// the installer's other rows are not carried, since nothing here reads them.
const std::array<TSkrotData, 2> kShortcutTable = {{
    {5, Ids({6}), Langs({0}), "ZeZorUr2.exe", "Polsko-angielski t\xB3" "umacz stron internetowych 2.5"},
    {5, Ids({6}), Langs({1}), "ZeZorUr2.exe", "Ruzari-Vedurir Irorovad Ivudidudiv 2.5"},
}};

constexpr uint8_t kPlaceStartMenuFolder = 4;

std::string WithBackslash(const std::string& s) {
  return (!s.empty() && (s.back() == '\\' || s.back() == '/')) ? s : s + "\\";
}

// PatchKind 6: one help shortcut per help language instead of a single one.
void SplitHelpShortcuts(int32_t appId, const std::string& installDir) {
  std::string folder = GetProgramsDir(false) + "\\" + std::string(ProductFolderName(appId, 3));
  if (!platform::Files().DirectoryExists(folder)) return;

  struct HelpPair {
    const char* polishFile;
    const char* germanFile;
    const char* oldLink;
    const char* polishLink;
    const char* germanLink;
  };
  static const HelpPair kPairs[] = {
      {"Trans.chm", "TransD.chm", "Hilfedatei des \xDC" "bersetzungsprogramms.lnk",
       "Hilfedatei des \xDC" "bersetzungsprogramms (Polnisch).lnk", "Hilfedatei des \xDC" "bersetzungsprogramms (Deutsch).lnk"},
      {"Sl_Zew.chm", "Sl_ZewD.chm", "Hilfedatei des W\xF6" "rterbuchs.lnk", "Hilfedatei des W\xF6" "rterbuchs (Polnisch).lnk",
       "Hilfedatei des W\xF6" "rterbuchs (Deutsch).lnk"},
  };
  for (const HelpPair& pair : kPairs) {
    std::string polish = installDir + pair.polishFile;
    std::string german = installDir + pair.germanFile;
    if (!platform::Files().FileExists(polish) || !platform::Files().FileExists(german)) continue;
    std::string oldLink = folder + "\\" + pair.oldLink;
    if (platform::Files().FileExists(oldLink)) platform::Files().Delete(oldLink);
    CreateShortcut(polish, folder + "\\" + pair.polishLink, "");
    CreateShortcut(german, folder + "\\" + pair.germanLink, "");
  }
}

// Looks for the product's Start-menu folder under `base`, first under its
// Polish name (whole, then without its last two characters), then under its
// English one; sets `language` to the name's language.
bool FindProductFolder(int32_t appId, const std::string& base, std::string& name, int& language) {
  for (int l : {0, 1}) {
    std::string full(ProductFolderName(appId, l));
    for (const std::string& candidate : {full, DropLastChars(full, 2)}) {
      name = candidate;
      language = l;
      if (platform::Files().DirectoryExists(base + name)) return true;
    }
  }
  return false;
}

// PatchKind 9: the web-page translator's shortcut in the product's folder, in
// the language the product was installed in.
void AddWebTranslatorShortcut(int32_t appId, const std::string& installDir) {
  std::string base = WithBackslash(GetProgramsDir(false));
  std::string name;
  int language = 0;
  if (!FindProductFolder(appId, base, name, language)) {
    base = WithBackslash(GetProgramsDir(true));
    if (!FindProductFolder(appId, base, name, language)) return;
  }
  std::string folder = WithBackslash(base + name);
  for (const TSkrotData& row : kShortcutTable) {
    std::string targetFile(row.TargetFile);
    std::string target = WithBackslash(installDir) + targetFile;
    if (appId < 0 || appId > 255 || !row.AppIds.test(static_cast<size_t>(appId))) continue;
    if (!IsInTagList(targetFile, "<ZeZorUr2.exe>", false, false)) continue;
    if (!platform::Files().FileExists(target)) continue;
    if (!row.Languages.test(static_cast<size_t>(language))) continue;
    if (!(row.Places & kPlaceStartMenuFolder)) continue;
    std::string link(row.LinkName);
    CreateShortcut(target, folder + link + ".lnk", link);
  }
}

}  // namespace

std::string_view ProductFolderName(int32_t appId, int language) {
  if (appId < 1 || appId > kAppIds || language < 0 || language >= kLanguages) return {};
  return kProductFolderNames[static_cast<size_t>(appId)][static_cast<size_t>(language)];
}

const TSkrotData* ShortcutTable(size_t& count) {
  count = kShortcutTable.size();
  return kShortcutTable.data();
}

void RepairShortcuts(int32_t appId, int32_t patchKind, const std::string& installDir) {
  if (patchKind == 6)
    SplitHelpShortcuts(appId, installDir);
  else if (patchKind == 9)
    AddWebTranslatorShortcut(appId, installDir);
}

}  // namespace upd
