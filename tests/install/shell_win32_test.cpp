// The shell service for real (under Wine): the application-data folder, and
// shortcuts written through the shell link object and read back through it.

#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include "install/shell_folders.h"
#include "install/word_startup.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win_text.h"
#include "support/temp_dir.h"
#include "win32_helpers.h"

namespace upd {
namespace {

using platform::win32::AnsiToWide;
using platform::win32::ComPtr;

struct Link {
  std::wstring path, workingDir, description;
};

// Reads a shortcut file back through the shell link object.
bool ReadLink(const std::string& file, Link& out) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())))
    return false;
  ComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, persist.Out()))) return false;
  if (FAILED(persist->Load(AnsiToWide(file).c_str(), STGM_READ))) return false;
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) return false;
  out.path = buffer;
  buffer[0] = 0;
  link->GetWorkingDirectory(buffer, MAX_PATH);
  out.workingDir = buffer;
  buffer[0] = 0;
  link->GetDescription(buffer, MAX_PATH);
  out.description = buffer;
  return true;
}

class ShellWin32 : public ::testing::Test {
 protected:
  testing::ScopedCom com;
  testing::TempDir temp;
};

TEST_F(ShellWin32, AppDataFolderExistsAndEndsInOneBackslash) {
  std::string dir = GetSpecialFolder(kAppDataFolder);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_NE(dir[dir.size() - 2], '\\');
  DWORD attributes = GetFileAttributesW(AnsiToWide(dir).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << dir;
}

TEST_F(ShellWin32, ShortcutIsWrittenReadBackAndReplaced) {
  temp.Write("Trans.chm", "help");
  temp.Write("TransD.chm", "Hilfe");
  const std::string link = temp.File("Pomoc.lnk");
  const std::string dir = temp.Path() + "\\";

  ASSERT_TRUE(CreateShortcut(dir + "Trans.chm", link, "Pomoc programu"));
  Link got;
  ASSERT_TRUE(ReadLink(link, got));
  EXPECT_EQ(got.path, AnsiToWide(dir + "Trans.chm"));
  EXPECT_EQ(got.workingDir, AnsiToWide(dir));
  EXPECT_EQ(got.description, L"Pomoc programu");

  // Over the existing file, with an empty description.
  ASSERT_TRUE(CreateShortcut(dir + "TransD.chm", link, ""));
  ASSERT_TRUE(ReadLink(link, got));
  EXPECT_EQ(got.path, AnsiToWide(dir + "TransD.chm"));
  EXPECT_EQ(got.description, L"");
  EXPECT_EQ(temp.List(), (std::vector<std::string>{"Pomoc.lnk", "Trans.chm", "TransD.chm"}));
}

TEST_F(ShellWin32, AMissingFolderIsNotCreated) {
  temp.Write("Trans.chm", "help");
  EXPECT_FALSE(CreateShortcut(temp.File("Trans.chm"), temp.Path() + "\\missing\\Pomoc.lnk", "x"));
  EXPECT_FALSE(temp.Exists("missing"));
}

// The registry path of a version's options, in the real registry.
TEST_F(ShellWin32, WordStartupPathFromTheUsersHive) {
  HKEY office = nullptr;
  const bool hadOffice =
      RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office", 0, KEY_READ, &office) == ERROR_SUCCESS;
  if (office) RegCloseKey(office);
  ASSERT_TRUE(testing::SetRegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\11.0\\Word\\Options",
                                    "STARTUP-PATH", "D:\\Tpl\\", testing::View::Shared));
  std::vector<std::string> list;
  ListWordStartupDirs(list);
  if (hadOffice)
    testing::DeleteRegTree(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office", L"11.0", testing::View::Shared);
  else
    testing::DeleteRegTree(HKEY_CURRENT_USER, L"Software\\Microsoft", L"Office", testing::View::Shared);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0], "Microsoft Word 2003=D:\\Tpl");
}

}  // namespace
}  // namespace upd
