// Shell folders from the shell's registry record and the application-data
// folder of the shell service; the shortcut writer's working directory.

#include <gtest/gtest.h>

#include "install/shell_folders.h"
#include "logging_registry.h"
#include "platform/shell.h"
#include "util/registry_readers.h"

namespace upd {
namespace {

using platform::MemoryRegistry;
using platform::RootKey;
using testing::HKCU;
using testing::HKLM;
const std::string kKey(ShellFoldersKey);

// A registry with the user's desktop and programs folders, and a shell whose
// application-data folder is known.
struct ShellFoldersTest : ::testing::Test {
  ShellFoldersTest() {
    reg.memory.SetString(HKCU, kKey, "Desktop", "C:\\Users\\a\\Desktop");
    reg.memory.SetString(HKCU, kKey, "Programs", "C:\\Users\\a\\Start Menu\\Programs");
    shell.appData = "C:\\Users\\a\\AppData\\Roaming";
  }
  testing::LoggingRegistry reg;
  platform::RecordingShell shell;
  platform::ScopedOverride<platform::Registry> useReg{reg};
  platform::ScopedOverride<platform::Shell> useShell{shell};
};

TEST_F(ShellFoldersTest, CommonFallsBackToTheUsersFolder) {
  EXPECT_EQ(GetProgramsDir(true), "C:\\Users\\a\\Start Menu\\Programs");  // no "Common Programs"
  reg.memory.SetString(HKLM, kKey, "Common Programs", "");
  EXPECT_EQ(GetProgramsDir(true), "C:\\Users\\a\\Start Menu\\Programs");  // an empty one
  reg.memory.SetString(HKLM, kKey, "Common Programs", "C:\\ProgramData\\Programs");
  EXPECT_EQ(GetProgramsDir(true), "C:\\ProgramData\\Programs");
  EXPECT_EQ(GetProgramsDir(false), "C:\\Users\\a\\Start Menu\\Programs");
  reg.memory.SetString(HKLM, kKey, "Common Desktop", "C:\\Users\\Public\\Desktop");
  EXPECT_EQ(GetDesktopDir(true), "C:\\Users\\Public\\Desktop");
}

TEST_F(ShellFoldersTest, TheUsersFoldersNeverReadTheMachinesHive) {
  reg.memory.SetString(HKLM, kKey, "Common Desktop", "C:\\Users\\Public\\Desktop");
  EXPECT_EQ(GetDesktopDir(false), "C:\\Users\\a\\Desktop");
  EXPECT_EQ(GetProgramsDir(false), "C:\\Users\\a\\Start Menu\\Programs");
  EXPECT_FALSE(reg.Touched(HKLM));
}

TEST_F(ShellFoldersTest, SpecialFoldersEndInOneBackslash) {
  reg.memory.SetString(HKLM, kKey, "Common Programs", "C:\\ProgramData\\Programs\\");  // stored with one already
  struct Case {
    int32_t kind;
    std::string want;
  } cases[] = {
      {0, "C:\\Users\\a\\Desktop\\"},
      {2, "C:\\Users\\a\\Start Menu\\Programs\\"},
      {23, "C:\\ProgramData\\Programs\\"},
      {25, "C:\\Users\\a\\Desktop\\"},  // no "Common Desktop": the user's
      {26, "C:\\Users\\a\\AppData\\Roaming\\"},
      {5, ""},  // a system folder number this lookup does not know
      {-1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(GetSpecialFolder(c.kind), c.want) << "kind " << c.kind;
}

TEST_F(ShellFoldersTest, MissingFoldersAreEmptyWrongTypesReachTheCaller) {
  reg.memory.Clear();
  shell.appData.clear();
  EXPECT_EQ(GetDesktopDir(true), "");
  EXPECT_EQ(GetSpecialFolder(2), "");
  EXPECT_EQ(GetSpecialFolder(26), "");
  reg.memory.SetDword(HKCU, kKey, "Programs", 1);
  EXPECT_THROW(GetProgramsDir(false), RegistryTypeError);
}

TEST_F(ShellFoldersTest, ShortcutsWorkInTheTargetsFolder) {
  struct Case {
    std::string target, workingDir;
  } cases[] = {
      {"C:\\Prog\\Trans.chm", "C:\\Prog\\"},
      {"Trans.chm", ""},                  // neither backslash nor colon
      {"C:Trans.chm", "C:"},              // a drive-relative target
      {"\\\\srv\\share\\a.exe", "\\\\srv\\share\\"},
      {"", ""},
  };
  for (const Case& c : cases) {
    shell.written.clear();
    EXPECT_TRUE(CreateShortcut(c.target, "C:\\Links\\x.lnk", "Opis"));
    ASSERT_EQ(shell.written.size(), 1u);
    EXPECT_EQ(shell.written[0].linkFile, "C:\\Links\\x.lnk");
    EXPECT_EQ(shell.written[0].link.target, c.target);
    EXPECT_EQ(shell.written[0].link.workingDir, c.workingDir) << c.target;
    EXPECT_EQ(shell.written[0].link.description, "Opis");
  }
  shell.failWrites = true;
  EXPECT_FALSE(CreateShortcut("C:\\Prog\\Trans.chm", "C:\\Links\\x.lnk", ""));
}

}  // namespace
}  // namespace upd
