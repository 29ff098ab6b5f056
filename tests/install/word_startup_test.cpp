// Word startup folders: per-version lines first in table order, the merged
// line for the user startup folder last, case-insensitive comparison in code
// page 1250, and an error that ends the loop but keeps what was gathered.

#include <gtest/gtest.h>

#include <functional>

#include "install/word_startup.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace upd {
namespace {

using platform::MemoryRegistry;
using platform::RootKey;
using Lines = std::vector<std::string>;

const std::string U = "C:\\Users\\a\\AppData\\Roaming\\Microsoft\\Word\\Startup";

std::string VersionKey(const char* version) { return std::string("Software\\Microsoft\\Office\\") + version + "\\Word\\"; }

void AddVersion(MemoryRegistry& r, const char* version) { r.AddKey(RootKey::CurrentUser, VersionKey(version)); }

void AddVersion(MemoryRegistry& r, const char* version, const std::string& startupPath) {
  AddVersion(r, version);
  r.SetString(RootKey::CurrentUser, VersionKey(version) + "Options", "STARTUP-PATH", startupPath);
}

TEST(WordStartupDirs, List) {
  struct Case {
    const char* why;
    const char* appData;  // as the system reports it, without a trailing backslash
    std::function<void(MemoryRegistry&)> setup;
    Lines want;
  } cases[] = {
      {"no Word version key", "C:\\Users\\a\\AppData\\Roaming", [](MemoryRegistry&) {},
       {"Microsoft Word (nie znaleziono)=" + U}},
      {"key of 2003 without STARTUP-PATH", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) { AddVersion(r, "11.0"); }, {"Microsoft Word 2003=" + U}},
      {"97 and 2000 without a path, XP with its own", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) {
         AddVersion(r, "8.0");
         AddVersion(r, "9.0");
         AddVersion(r, "10.0", "D:\\Tpl\\");
       },
       {"Microsoft Word XP=D:\\Tpl", "Microsoft Word 97/2000=" + U}},
      {"2000's path is U in other letter case", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) { AddVersion(r, "9.0", "c:\\USERS\\A\\appdata\\Roaming\\Microsoft\\WORD\\startup"); },
       {"Microsoft Word 2000=" + U}},
      {"2003 with its own path, no application-data folder", "",
       [](MemoryRegistry& r) { AddVersion(r, "11.0", "D:\\Tpl"); }, {"Microsoft Word 2003=D:\\Tpl"}},
      {"no Word version key, no application-data folder", "", [](MemoryRegistry&) {}, {}},
      {"no application-data folder, versions without paths are dropped", "",
       [](MemoryRegistry& r) { AddVersion(r, "8.0"); }, {}},
      {"two versions with the same own path give two lines", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) {
         AddVersion(r, "9.0", "D:\\Tpl");
         AddVersion(r, "11.0", "D:\\Tpl\\");
       },
       {"Microsoft Word 2000=D:\\Tpl", "Microsoft Word 2003=D:\\Tpl"}},
      {"a trailing backslash compares equal to U", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) { AddVersion(r, "10.0", U + "\\"); }, {"Microsoft Word XP=" + U}},
      {"own paths only: no line for U", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) { AddVersion(r, "8.0", "D:\\97"); }, {"Microsoft Word 97=D:\\97"}},
      {"Central European letters fold as code page 1250 does", "C:\\Users\\\xA3\xF3" "d\x9F" "\\Dane",  // Łódź
       [](MemoryRegistry& r) { AddVersion(r, "8.0", "C:\\USERS\\\xB3\xD3" "D\x8F" "\\DANE\\MICROSOFT\\WORD\\STARTUP"); },
       {"Microsoft Word 97=C:\\Users\\\xA3\xF3" "d\x9F" "\\Dane\\Microsoft\\Word\\Startup"}},
      {"0xBC and 0xBE are different letters", "C:\\\xBC",
       [](MemoryRegistry& r) { AddVersion(r, "8.0", "C:\\\xBE\\Microsoft\\Word\\Startup"); },
       {"Microsoft Word 97=C:\\\xBE\\Microsoft\\Word\\Startup"}},
      {"a STARTUP-PATH that is not a string ends the loop and keeps what was gathered",
       "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) {
         AddVersion(r, "8.0", "D:\\97");
         AddVersion(r, "9.0");
         AddVersion(r, "10.0");
         r.SetDword(RootKey::CurrentUser, VersionKey("10.0") + "Options", "STARTUP-PATH", 1);
         AddVersion(r, "11.0", "D:\\2003");  // not looked at any more
       },
       {"Microsoft Word 97=D:\\97", "Microsoft Word 2000=" + U}},
      {"the error in the first version still leaves the user folder line", "C:\\Users\\a\\AppData\\Roaming",
       [](MemoryRegistry& r) {
         AddVersion(r, "8.0");
         r.SetBinary(RootKey::CurrentUser, VersionKey("8.0") + "Options", "STARTUP-PATH", "D:\\");
         AddVersion(r, "9.0");
       },
       {"Microsoft Word (nie znaleziono)=" + U}},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    c.setup(reg);
    platform::RecordingShell shell;
    shell.appData = c.appData;
    platform::ScopedOverride<platform::Registry> useReg(reg);
    platform::ScopedOverride<platform::Shell> useShell(shell);
    Lines list = {"left over from before"};
    EXPECT_EQ(ListWordStartupDirs(list), static_cast<int32_t>(c.want.size())) << c.why;
    EXPECT_EQ(list, c.want) << c.why;
  }
}

}  // namespace
}  // namespace upd
