// The installation directory lookup against the real registry (under Wine):
// the machine's values in the 32-bit view, the current user's hive first, the
// plain name of AppId 1, the legacy key, and directories recorded with
// `patchtool reg` and imported with `reg import`. Every key written here is
// removed again.

#include <gtest/gtest.h>

#include "install/install_dir.h"
#include "install/kod.h"
#include "platform/win32/win_text.h"
#include "support/temp_dir.h"
#include "win32_helpers.h"

namespace upd {
namespace {

using testing::View;
using platform::win32::AnsiToWide;

std::string KeyOf(int32_t appId) { return std::string(ProductRegKeys[appId]); }

// Bytes that are letters in the Central and the Western European code pages
// alike, so the test holds whichever of them the prefix uses.
const std::string kDir = "C:\\Program Files (x86)\\Varsko\\\xDC" "bersetzer \xF3\xE9\\";

class InstallDirRegistry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    testing::DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE", L"Varsko", View::Shared);
    for (View view : {View::Wow32, View::Wow64}) {
      testing::DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"Varsko", view);
      testing::DeleteRegTree(HKEY_LOCAL_MACHINE, L"Software", L"Ridurizeve", view);
    }
  }
  static void PutDir(HKEY root, int32_t appId, const std::string& dir, bool newFormat, View view = View::Wow32) {
    ScrambledValue v = ScrambleInstallDir(appId, dir, newFormat);
    ASSERT_TRUE(testing::SetRegString(root, KeyOf(appId), v.name, v.contents, view));
  }
};

TEST_F(InstallDirRegistry, CurrentUserWinsAndAnEmptyValueFallsBackToTheMachine) {
  PutDir(HKEY_LOCAL_MACHINE, 4, kDir, false);
  EXPECT_EQ(GetInstallDir(4), kDir);
  PutDir(HKEY_CURRENT_USER, 4, "C:\\Users\\a\\Varsko\\", false, View::Shared);
  EXPECT_EQ(GetInstallDir(4), "C:\\Users\\a\\Varsko\\");
  ASSERT_TRUE(testing::SetRegString(HKEY_CURRENT_USER, KeyOf(4), InstallDirValueNameFor(4, false), "", View::Shared));
  EXPECT_EQ(GetInstallDir(4), kDir);
}

TEST_F(InstallDirRegistry, MachineValuesAreReadInThe32BitView) {
  PutDir(HKEY_LOCAL_MACHINE, 4, kDir, false, View::Wow64);
  EXPECT_EQ(GetInstallDir(4), "");  // where a 64-bit installer would have written
  // reg.exe, as a 32-bit installer's values land: AppId 1 keeps the plain name.
  const std::string contents = Kod().Encode(kDir, 1, 5, false);
  ASSERT_EQ(testing::Run(L"reg.exe", {L"add", L"HKLM\\" + AnsiToWide(KeyOf(1)), L"/v", L"Katalog", L"/t", L"REG_SZ",
                                      L"/d", AnsiToWide(contents), L"/f", L"/reg:32"}),
            0);
  EXPECT_EQ(GetInstallDir(1), kDir);
}

TEST_F(InstallDirRegistry, ForceNewRegOfAnyTypeSwitchesTheFormat) {
  ASSERT_TRUE(testing::SetRegString(HKEY_LOCAL_MACHINE, KeyOf(4), NewRegFormatValueNameFor(4), "not a number"));
  PutDir(HKEY_CURRENT_USER, 4, kDir, true, View::Shared);
  EXPECT_TRUE(IsNewRegFormat(4));
  EXPECT_EQ(GetInstallDir(4), kDir);
}

TEST_F(InstallDirRegistry, LegacyKeyIsReadAsStored) {
  ASSERT_TRUE(testing::SetRegString(HKEY_LOCAL_MACHINE, std::string(LegacyInstallKey), "Katalog", kDir));
  EXPECT_EQ(GetInstallDir(-1), kDir);
  EXPECT_EQ(GetInstallDir(4), "");
}

// What the demo relies on: a directory recorded with `patchtool reg` and
// imported with `reg import` comes back exactly, in both formats and hives;
// also one that holds every byte from the space up, through the command line,
// the .reg file and the ANSI code page.
TEST_F(InstallDirRegistry, PatchtoolRegFilesImportAndReadBack) {
  const std::wstring patchtool = testing::ProgramDir() + L"patchtool.exe";
  ASSERT_NE(GetFileAttributesW(patchtool.c_str()), INVALID_FILE_ATTRIBUTES) << "patchtool.exe beside the tests";
  upd::testing::TempDir temp;
  const std::wstring regFile = AnsiToWide(temp.File("dir.reg"));
  std::string everyByte;
  for (int c = 0x20; c <= 0xFF; ++c) everyByte += static_cast<char>(c);
  for (const std::string& dir : {kDir, everyByte})
    for (const wchar_t* hive : {L"HKCU", L"HKLM"})
      for (bool newFormat : {false, true}) {
        SCOPED_TRACE(::testing::Message() << (hive[2] == L'C' ? "HKCU" : "HKLM") << (newFormat ? " new" : " old")
                                          << " directory " << dir.size() << " bytes");
        Clean();
        std::vector<std::wstring> args = {L"reg", L"--app-id", L"4", AnsiToWide(dir), L"--hive", hive, L"-o", regFile};
        if (newFormat) args.push_back(L"--new-format");
        ASSERT_EQ(testing::Run(patchtool, args), 0);
        std::vector<std::wstring> import = {L"import", regFile};
        if (hive[2] == L'L') import.push_back(L"/reg:32");  // the installer is a 32-bit program
        ASSERT_EQ(testing::Run(L"reg.exe", import), 0);
        EXPECT_EQ(IsNewRegFormat(4), newFormat);
        EXPECT_EQ(GetInstallDir(4), dir);
      }
}

}  // namespace
}  // namespace upd
