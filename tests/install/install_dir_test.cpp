// The installation directory lookup over the in-memory registry: which hive
// wins, how the format flag changes the scrambled name, the plain name of
// AppId 1, the legacy location, and every way a hive's attempt can fail.

#include <gtest/gtest.h>

#include <functional>

#include "install/install_dir.h"
#include "install/kod.h"
#include "logging_registry.h"

namespace upd {
namespace {

using platform::MemoryRegistry;
using platform::RootKey;
using testing::HKCU;
using testing::HKLM;

std::string KeyOf(int32_t appId) { return std::string(ProductRegKeys[appId]); }

// The directory value as the product's installer writes it.
void PutDir(MemoryRegistry& reg, RootKey root, int32_t appId, const std::string& dir, bool newFormat) {
  ScrambledValue v = ScrambleInstallDir(appId, dir, newFormat);
  reg.SetString(root, KeyOf(appId), v.name, v.contents);
}

void PutFlag(MemoryRegistry& reg, RootKey root, int32_t appId, uint32_t value = 1) {
  reg.SetDword(root, KeyOf(appId), NewRegFormatValueNameFor(appId), value);
}

TEST(InstallDir, Lookup) {
  const std::string user = "C:\\Users\\a\\Varsko\\";
  const std::string machine = "C:\\Program Files (x86)\\Varsko\\T\xB3umacz";  // no trailing backslash: kept as stored
  struct Case {
    const char* why;
    int32_t appId;
    std::function<void(MemoryRegistry&)> setup;
    std::string want;
  } cases[] = {
      {"both hives: the current user's wins", 4,
       [&](MemoryRegistry& r) {
         PutDir(r, HKCU, 4, user, false);
         PutDir(r, HKLM, 4, machine, false);
       },
       user},
      {"only the machine's hive has the key", 4, [&](MemoryRegistry& r) { PutDir(r, HKLM, 4, machine, false); }, machine},
      {"the user's value is empty: the machine's is used", 4,
       [&](MemoryRegistry& r) {
         r.SetString(HKCU, KeyOf(4), InstallDirValueNameFor(4, false), "");
         PutDir(r, HKLM, 4, machine, false);
       },
       machine},
      {"the user's value unscrambles to empty (the chain byte alone)", 4,
       [&](MemoryRegistry& r) {
         r.SetString(HKCU, KeyOf(4), InstallDirValueNameFor(4, false), "X");
         PutDir(r, HKLM, 4, machine, false);
       },
       machine},
      {"the user's key exists without the value", 4,
       [&](MemoryRegistry& r) {
         r.AddKey(HKCU, KeyOf(4));
         PutDir(r, HKLM, 4, machine, false);
       },
       machine},
      {"the user's value is not a string", 4,
       [&](MemoryRegistry& r) {
         r.SetDword(HKCU, KeyOf(4), InstallDirValueNameFor(4, false), 7);
         PutDir(r, HKLM, 4, machine, false);
       },
       machine},
      {"ForceNewReg only under the machine's hive switches the user's value too", 4,
       [&](MemoryRegistry& r) {
         PutFlag(r, HKLM, 4);
         PutDir(r, HKCU, 4, user, true);
       },
       user},
      {"with ForceNewReg a value in the old format is not found", 4,
       [&](MemoryRegistry& r) {
         PutFlag(r, HKCU, 4);
         PutDir(r, HKCU, 4, user, false);
       },
       ""},
      {"ForceNewReg holding 0 still switches the format", 7,
       [&](MemoryRegistry& r) {
         PutFlag(r, HKCU, 7, 0);
         PutDir(r, HKLM, 7, machine, true);
       },
       machine},
      {"ForceNewReg as a string counts by its presence and does not fail", 4,
       [&](MemoryRegistry& r) {
         r.SetString(HKCU, KeyOf(4), NewRegFormatValueNameFor(4), "yes");
         PutDir(r, HKCU, 4, user, true);
       },
       user},
      {"ForceNewReg as binary data likewise", 11,
       [&](MemoryRegistry& r) {
         r.SetBinary(HKLM, KeyOf(11), NewRegFormatValueNameFor(11), std::string("\x01\x00", 2));
         PutDir(r, HKLM, 11, machine, true);
       },
       machine},
      {"AppId 1: plain value name, contents still unscrambled", 1,
       [&](MemoryRegistry& r) {
         r.SetString(HKCU, KeyOf(1), "Katalog", Kod().Encode(user, 1, 5, false));
       },
       user},
      {"AppId 1: a scrambled name is not looked for", 1,
       [&](MemoryRegistry& r) {
         r.SetString(HKCU, KeyOf(1), Kod().Encode("Katalog", 1, 5, false), Kod().Encode(user, 1, 5, false));
       },
       ""},
      {"AppId 3 shares AppId 2's key, additive variant", 3, [&](MemoryRegistry& r) { PutDir(r, HKLM, 3, machine, false); },
       machine},
      {"AppId 12 without ForceNewReg", 12, [&](MemoryRegistry& r) { PutDir(r, HKCU, 12, user, false); }, user},
      {"AppId 12 with ForceNewReg: the same names and contents", 12,
       [&](MemoryRegistry& r) {
         PutFlag(r, HKLM, 12);
         PutDir(r, HKCU, 12, user, false);
       },
       user},
      {"AppId 13 with ForceNewReg", 13,
       [&](MemoryRegistry& r) {
         PutFlag(r, HKCU, 13);
         PutDir(r, HKLM, 13, machine, true);
       },
       machine},
      {"AppId -1: the legacy key, contents as stored", -1,
       [&](MemoryRegistry& r) { r.SetString(HKLM, "Software\\Ridurizeve\\Brenvik", "Katalog", "D:\\Stary\\"); },
       "D:\\Stary\\"},
      {"AppId -1: the user's hive is not consulted", -1,
       [&](MemoryRegistry& r) { r.SetString(HKCU, "Software\\Ridurizeve\\Brenvik", "Katalog", "D:\\Stary\\"); }, ""},
      {"AppId -1: a legacy value of the wrong type", -1,
       [&](MemoryRegistry& r) { r.SetDword(HKLM, "Software\\Ridurizeve\\Brenvik", "Katalog", 1); }, ""},
      {"no product key in either hive", 4, [&](MemoryRegistry& r) { PutDir(r, HKCU, 5, user, false); }, ""},
  };
  for (const Case& c : cases) {
    MemoryRegistry reg;
    c.setup(reg);
    platform::ScopedOverride<platform::Registry> use(reg);
    EXPECT_EQ(GetInstallDir(c.appId), c.want) << c.why;
  }
}

TEST(InstallDir, UserValueFoundMeansTheMachinesDirectoryIsNotRead) {
  testing::LoggingRegistry reg;
  PutDir(reg.memory, HKCU, 4, "C:\\A\\", false);
  PutDir(reg.memory, HKLM, 4, "C:\\B\\", false);
  platform::ScopedOverride<platform::Registry> use(reg);
  EXPECT_EQ(GetInstallDir(4), "C:\\A\\");
  EXPECT_FALSE(reg.Touched(HKLM, InstallDirValueNameFor(4, false)));
  EXPECT_TRUE(reg.Touched(HKLM, NewRegFormatValueNameFor(4)));  // the flag is probed in both hives
}

TEST(InstallDir, OutOfRangeProductsTouchNothing) {
  for (int32_t appId : {0, 14, -2, INT32_MIN}) {
    testing::LoggingRegistry reg;
    PutDir(reg.memory, HKCU, 4, "C:\\A\\", false);
    platform::ScopedOverride<platform::Registry> use(reg);
    EXPECT_EQ(GetInstallDir(appId), "") << appId;
    EXPECT_FALSE(IsNewRegFormat(appId)) << appId;
    EXPECT_TRUE(reg.log.empty()) << appId;
  }
}

TEST(InstallDir, FlagIsProbedForEveryProduct) {
  for (int32_t appId = 1; appId <= 13; ++appId) {
    MemoryRegistry reg;
    platform::ScopedOverride<platform::Registry> use(reg);
    EXPECT_FALSE(IsNewRegFormat(appId)) << appId;
    PutFlag(reg, HKLM, appId, 0);
    EXPECT_TRUE(IsNewRegFormat(appId)) << appId;
  }
}

// The directory value and the flag share a key, and Windows compares value
// names without regard to letter case: their scrambled names must differ even
// so, in both formats, or the flag would be taken for the directory.
TEST(InstallDir, ScrambledNamesOfOneProductNeverCollide) {
  auto fold = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
  };
  for (int32_t appId = 1; appId <= 13; ++appId) {
    const std::string flag = fold(NewRegFormatValueNameFor(appId));
    EXPECT_NE(fold(InstallDirValueNameFor(appId, false)), flag) << appId;
    EXPECT_NE(fold(InstallDirValueNameFor(appId, true)), flag) << appId;
  }
}

}  // namespace
}  // namespace upd
