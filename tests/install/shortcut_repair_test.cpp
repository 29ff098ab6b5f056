// The shortcut repair phase over a recording shell, an in-memory registry that
// records the programs folders, and real temporary folders.

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <filesystem>

#include "install/shell_folders.h"
#include "platform/files.h"
#include "install/shortcut_repair.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::TempDir;

// Folders and files named in the ANSI code page, made the way the updater's
// file layer reads names (std::filesystem would convert them otherwise on Windows).
void MakeDir(std::string path) {
#ifdef _WIN32
  CreateDirectoryA(path.c_str(), nullptr);
#else
  std::replace(path.begin(), path.end(), '\\', '/');
  std::filesystem::create_directory(path);
#endif
}

void MakeFile(const std::string& path) {
  auto file = platform::Files().CreateTruncate(path);
  ASSERT_TRUE(file && file->Write("x", 1) && file->Close()) << path;
}

bool FileThere(const std::string& path) { return platform::Files().FileExists(path); }

class ShortcutRepairTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_.SetString(platform::RootKey::CurrentUser, std::string(ShellFoldersKey), "Programs", programs_.Path());
    registry_.SetString(platform::RootKey::LocalMachine, std::string(ShellFoldersKey), "Common Programs",
                        common_.Path());
  }

  // The link files the shell was asked to write, as "link -> target | description".
  std::vector<std::string> Written() const {
    std::vector<std::string> out;
    for (const auto& w : shell_.written) out.push_back(w.linkFile + " -> " + w.link.target + " | " + w.link.description);
    return out;
  }

  // As the update run passes it: with a backslash at the end.
  std::string InstallDir() const { return install_.Path() + "\\"; }

  static std::string Folder(int32_t appId, int language) { return std::string(ProductFolderName(appId, language)); }

  TempDir install_, programs_, common_;
  platform::MemoryRegistry registry_;
  platform::RecordingShell shell_;
  platform::ScopedOverride<platform::Registry> use_registry_{registry_};
  platform::ScopedOverride<platform::Shell> use_shell_{shell_};
};

const std::string kTransOld = "Hilfedatei des \xDC" "bersetzungsprogramms.lnk";
const std::string kTransPl = "Hilfedatei des \xDC" "bersetzungsprogramms (Polnisch).lnk";
const std::string kTransDe = "Hilfedatei des \xDC" "bersetzungsprogramms (Deutsch).lnk";
const std::string kDictOld = "Hilfedatei des W\xF6" "rterbuchs.lnk";
const std::string kDictPl = "Hilfedatei des W\xF6" "rterbuchs (Polnisch).lnk";
const std::string kDictDe = "Hilfedatei des W\xF6" "rterbuchs (Deutsch).lnk";

TEST_F(ShortcutRepairTest, OtherPatchKindsTouchNothing) {
  install_.Write("Trans.chm", "x");
  install_.Write("TransD.chm", "x");
  for (int32_t kind : {0, 4, 5, 13}) RepairShortcuts(4, kind, InstallDir());
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(registry_.OpenCount(), 0);  // not even the registry is read
}

TEST_F(ShortcutRepairTest, HelpShortcutsSplitPerLanguage) {
  std::string folder = programs_.Path() + "\\" + Folder(4, 3);
  MakeDir(folder);
  std::string sep = "\\";
  MakeFile(folder + sep + kTransOld);
  for (const char* f : {"Trans.chm", "TransD.chm", "Sl_Zew.chm", "Sl_ZewD.chm"}) install_.Write(f, "help");

  RepairShortcuts(4, 6, InstallDir());

  std::string base = programs_.Path() + "\\" + Folder(4, 3) + "\\";
  EXPECT_EQ(Written(), (std::vector<std::string>{
                           base + kTransPl + " -> " + InstallDir() + "Trans.chm | ",
                           base + kTransDe + " -> " + InstallDir() + "TransD.chm | ",
                           base + kDictPl + " -> " + InstallDir() + "Sl_Zew.chm | ",
                           base + kDictDe + " -> " + InstallDir() + "Sl_ZewD.chm | ",
                       }));
  EXPECT_FALSE(FileThere(folder + sep + kTransOld));  // the single old shortcut is gone
  EXPECT_EQ(shell_.written[0].link.workingDir, InstallDir());
}

TEST_F(ShortcutRepairTest, HelpPairsAreHandledEachOnItsOwn) {
  std::string folder = programs_.Path() + "\\" + Folder(4, 3);
  MakeDir(folder);
  std::string sep = "\\";
  MakeFile(folder + sep + kTransOld);
  install_.Write("Trans.chm", "x");  // TransD.chm missing: the translator's help stays as it is
  install_.Write("Sl_Zew.chm", "x");
  install_.Write("Sl_ZewD.chm", "x");

  RepairShortcuts(4, 6, InstallDir());

  ASSERT_EQ(shell_.written.size(), 2u);
  EXPECT_NE(shell_.written[0].linkFile.find(kDictPl), std::string::npos);
  EXPECT_TRUE(FileThere(folder + sep + kTransOld));
}

TEST_F(ShortcutRepairTest, HelpShortcutsNeedTheUsersOwnFolder) {
  MakeDir(common_.Path() + "\\" + Folder(4, 3));  // only under all users
  for (const char* f : {"Trans.chm", "TransD.chm"}) install_.Write(f, "help");
  RepairShortcuts(4, 6, InstallDir());
  EXPECT_TRUE(shell_.written.empty());
}

TEST_F(ShortcutRepairTest, WebTranslatorShortcutInTheInstalledLanguage) {
  struct Case {
    std::string folderName;  // the product folder found in the user's programs folder
    bool underCommon;
    std::string expectedLink;
  };
  const std::string pl = Folder(6, 0), en = Folder(6, 1);
  const std::string plLink = "Polsko-angielski t\xB3" "umacz stron internetowych 2.5";
  const std::string enLink = "Ruzari-Vedurir Irorovad Ivudidudiv 2.5";
  const Case cases[] = {
      {pl, false, plLink},
      {pl.substr(0, pl.size() - 2), false, plLink},  // the Polish name without its last two characters
      {en, false, enLink},
      {en.substr(0, en.size() - 2), false, enLink},  // installed in English
      {pl, true, plLink},                            // only under all users' programs folder
  };
  install_.Write("ZeZorUr2.exe", "program");
  for (const Case& c : cases) {
    TempDir programs, common;
    registry_.SetString(platform::RootKey::CurrentUser, std::string(ShellFoldersKey), "Programs", programs.Path());
    registry_.SetString(platform::RootKey::LocalMachine, std::string(ShellFoldersKey), "Common Programs", common.Path());
    TempDir& base = c.underCommon ? common : programs;
    MakeDir(base.Path() + "\\" + c.folderName);
    shell_.written.clear();

    RepairShortcuts(6, 9, InstallDir());

    ASSERT_EQ(shell_.written.size(), 1u) << c.folderName;
    EXPECT_EQ(shell_.written[0].linkFile, base.Path() + "\\" + c.folderName + "\\" + c.expectedLink + ".lnk");
    EXPECT_EQ(shell_.written[0].link.target, InstallDir() + "ZeZorUr2.exe");
    EXPECT_EQ(shell_.written[0].link.description, c.expectedLink);
  }
}

TEST_F(ShortcutRepairTest, WebTranslatorNeedsItsProgramAndItsProduct) {
  MakeDir(programs_.Path() + "\\" + Folder(6, 0));
  RepairShortcuts(6, 9, InstallDir());  // ZeZorUr2.exe missing
  EXPECT_TRUE(shell_.written.empty());

  install_.Write("ZeZorUr2.exe", "program");
  MakeDir(programs_.Path() + "\\" + Folder(4, 0));
  RepairShortcuts(4, 9, InstallDir());  // no row names AppId 4
  EXPECT_TRUE(shell_.written.empty());
}

TEST_F(ShortcutRepairTest, RunningTwiceGivesTheSameShortcuts) {
  MakeDir(programs_.Path() + "\\" + Folder(4, 3));
  for (const char* f : {"Trans.chm", "TransD.chm"}) install_.Write(f, "help");
  RepairShortcuts(4, 6, InstallDir());
  auto first = Written();
  shell_.written.clear();
  RepairShortcuts(4, 6, InstallDir());
  EXPECT_EQ(Written(), first);
}

}  // namespace
}  // namespace upd
