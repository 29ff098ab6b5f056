// The registry value readers over the in-memory registry.

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "util/registry_readers.h"

namespace upd {
namespace {

using platform::RootKey;

constexpr const char* kKey = "Software\\Product\\4";

class RegistryReaders : public ::testing::Test {
 protected:
  RegistryReaders() {
    reg_.SetDword(RootKey::CurrentUser, kKey, "On", 1);
    reg_.SetDword(RootKey::CurrentUser, kKey, "Off", 0);
    reg_.SetDword(RootKey::CurrentUser, kKey, "High", 0x80000000u);  // only the low bit clear
    reg_.SetString(RootKey::CurrentUser, kKey, "Dir", "C:\\Prog\\");
    reg_.SetString(RootKey::CurrentUser, kKey, "Empty", "");
    reg_.SetBinary(RootKey::CurrentUser, kKey, "Blob", std::string("\x01\0\0\0", 4));
    reg_.SetString(RootKey::LocalMachine, kKey, "Dir", "D:\\Machine\\");
  }

  platform::MemoryRegistry reg_;
  platform::ScopedOverride<platform::Registry> use_{reg_};
};

TEST_F(RegistryReaders, ReadBoolFromA32BitNumber) {
  const struct {
    const char* name;
    bool expected;
  } cases[] = {{"On", true}, {"Off", false}, {"High", true}, {"on", true} /* names ignore case */};
  for (const auto& c : cases) {
    bool value = !c.expected;
    EXPECT_TRUE(ReadRegBool(RootKey::CurrentUser, kKey, c.name, value)) << c.name;
    EXPECT_EQ(value, c.expected) << c.name;
  }
}

TEST_F(RegistryReaders, ReadStringFromTheRequestedHive) {
  std::string value = "old";
  EXPECT_TRUE(ReadRegString(RootKey::CurrentUser, kKey, "Dir", value));
  EXPECT_EQ(value, "C:\\Prog\\");
  EXPECT_TRUE(ReadRegString(RootKey::LocalMachine, kKey, "Dir", value));
  EXPECT_EQ(value, "D:\\Machine\\");
  EXPECT_TRUE(ReadRegString(RootKey::CurrentUser, kKey, "Empty", value));
  EXPECT_EQ(value, "");
}

TEST_F(RegistryReaders, MissingKeyOrValueLeavesTheOutputAlone) {
  const struct {
    RootKey root;
    const char* key;
    const char* name;
  } cases[] = {
      {RootKey::CurrentUser, "Software\\Product\\5", "On"},  // no such key
      {RootKey::LocalMachine, kKey, "On"},                   // key there, value only in the other hive
      {RootKey::CurrentUser, kKey, "Nothing"},               // no such value
      {RootKey::CurrentUser, "", "On"},
  };
  for (const auto& c : cases) {
    bool flag = true;
    std::string text = "untouched";
    EXPECT_FALSE(ReadRegBool(c.root, c.key, c.name, flag)) << c.key << " " << c.name;
    EXPECT_FALSE(ReadRegString(c.root, c.key, c.name, text)) << c.key << " " << c.name;
    EXPECT_TRUE(flag);
    EXPECT_EQ(text, "untouched");
  }
}

TEST_F(RegistryReaders, ReadersNeverCreateKeys) {
  bool flag = false;
  std::string text;
  EXPECT_FALSE(ReadRegBool(RootKey::CurrentUser, "Software\\Absent", "On", flag));
  EXPECT_FALSE(ReadRegString(RootKey::LocalMachine, "Software\\Absent", "Dir", text));
  EXPECT_EQ(reg_.OpenKey(RootKey::CurrentUser, "Software\\Absent"), nullptr);
  EXPECT_EQ(reg_.OpenKey(RootKey::LocalMachine, "Software\\Absent"), nullptr);
}

TEST_F(RegistryReaders, WrongTypeReachesTheCaller) {
  bool flag = true;
  std::string text = "untouched";
  EXPECT_THROW(ReadRegBool(RootKey::CurrentUser, kKey, "Dir", flag), RegistryTypeError);   // a string
  EXPECT_THROW(ReadRegBool(RootKey::CurrentUser, kKey, "Blob", flag), RegistryTypeError);  // four raw bytes
  EXPECT_THROW(ReadRegString(RootKey::CurrentUser, kKey, "On", text), RegistryTypeError);  // a number
  EXPECT_THROW(ReadRegString(RootKey::CurrentUser, kKey, "Blob", text), RegistryTypeError);
  EXPECT_TRUE(flag);
  EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryReaders, OpenAndCloseTheAccessor) {
  std::unique_ptr<RegAccessor> accessor;
  ASSERT_TRUE(OpenRegKey(RootKey::LocalMachine, kKey, accessor));
  ASSERT_TRUE(accessor && accessor->key);
  EXPECT_EQ(accessor->root, RootKey::LocalMachine);
  EXPECT_TRUE(CloseRegKey(accessor));
  EXPECT_EQ(accessor, nullptr);
  EXPECT_FALSE(CloseRegKey(accessor));  // nothing left to close

  ASSERT_TRUE(OpenRegKey(RootKey::CurrentUser, kKey, accessor));
  EXPECT_FALSE(OpenRegKey(RootKey::CurrentUser, "Software\\Absent", accessor));
  EXPECT_EQ(accessor, nullptr);  // a failed open leaves no accessor, not the previous one
}

// A registry layer that fails with an exception: the open reads as "not there".
struct ThrowingRegistry : platform::Registry {
  std::unique_ptr<platform::RegistryKey> OpenKey(RootKey, const std::string&) override {
    throw std::runtime_error("access denied");
  }
};

// A key whose values exist but which the system refuses to read: not found.
struct RefusingRegistry : platform::Registry {
  struct Key : platform::RegistryKey {
    bool HasValue(const std::string&) override { return true; }
    platform::RegRead ReadString(const std::string&, std::string&) override { return platform::RegRead::Failed; }
    platform::RegRead ReadDword(const std::string&, uint32_t&) override { return platform::RegRead::Failed; }
  };
  std::unique_ptr<platform::RegistryKey> OpenKey(RootKey, const std::string&) override {
    return std::make_unique<Key>();
  }
};

TEST(RegistryReadersErrors, SystemFailuresReadAsNotFound) {
  ThrowingRegistry throwing;
  RefusingRegistry refusing;
  for (platform::Registry* failing : {static_cast<platform::Registry*>(&throwing),
                                      static_cast<platform::Registry*>(&refusing)}) {
    platform::ScopedOverride<platform::Registry> use(*failing);
    bool flag = true;
    std::string text = "untouched";
    EXPECT_FALSE(ReadRegBool(RootKey::CurrentUser, kKey, "On", flag));
    EXPECT_FALSE(ReadRegString(RootKey::CurrentUser, kKey, "Dir", text));
    EXPECT_TRUE(flag);
    EXPECT_EQ(text, "untouched");
  }
}

}  // namespace
}  // namespace upd
