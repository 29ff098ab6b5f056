// The registry value readers over the Win32 registry: a scratch key under the
// current user's hive, made by the test itself and removed afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include "util/registry_readers.h"

namespace upd {
namespace {

using platform::RootKey;

constexpr const char* kScratch = "Software\\UpdUtilReadersTest";

class Win32RegistryReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD on = 7;
    const char dir[] = "C:\\Prog\\";
    const BYTE blob[4] = {1, 0, 0, 0};
    RegSetValueExA(key, "On", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegSetValueExA(key, "Dir", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir), sizeof dir);
    RegSetValueExA(key, "Blob", 0, REG_BINARY, blob, sizeof blob);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }
};

TEST_F(Win32RegistryReaders, ReadsTypesAndRefusesTheWrongOnes) {
  bool flag = false;
  std::string text;
  EXPECT_TRUE(ReadRegBool(RootKey::CurrentUser, kScratch, "On", flag));
  EXPECT_TRUE(flag);
  EXPECT_TRUE(ReadRegString(RootKey::CurrentUser, kScratch, "Dir", text));
  EXPECT_EQ(text, "C:\\Prog\\");
  EXPECT_FALSE(ReadRegString(RootKey::CurrentUser, kScratch, "Nothing", text));
  EXPECT_THROW(ReadRegBool(RootKey::CurrentUser, kScratch, "Dir", flag), RegistryTypeError);
  EXPECT_THROW(ReadRegBool(RootKey::CurrentUser, kScratch, "Blob", flag), RegistryTypeError);
  EXPECT_THROW(ReadRegString(RootKey::CurrentUser, kScratch, "On", text), RegistryTypeError);
}

TEST_F(Win32RegistryReaders, AMissingKeyStaysMissing) {
  const std::string absent = std::string(kScratch) + "\\Absent";
  bool flag = false;
  EXPECT_FALSE(ReadRegBool(RootKey::CurrentUser, absent, "On", flag));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, absent.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace upd
