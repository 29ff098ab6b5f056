// The rebuild against Windows' own sharing rules, under Wine: a target that
// another handle holds open without delete sharing cannot be replaced. The file
// layer retries such a lock for a while; when it persists the rebuild fails
// cleanly.

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/crc32.h"
#include "payload/container_builder.h"
#include "payload/rebuild.h"
#include "platform/resources.h"
#include "platform/win32/win_text.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

TEST(RebuildWin32, ATargetHeldOpenByAnotherHandleFailsCleanly) {
  const std::string old_version(5000, 'o');
  const std::string new_version(7000, 'n');
  platform::MemoryResources resources;
  resources.Add("PA", testing::PlainPayload(new_version));
  platform::ScopedOverride<platform::ResourceSource> use_resources(resources);
  TPatchPlikInfo row{};
  row.ResourceName = {"PA", ""};
  row.CurrentSlot = 1;
  row.SlotSize[0] = static_cast<int32_t>(new_version.size());
  row.SlotCrc[0] = Crc32Update(0, new_version.data(), new_version.size());

  struct Case {
    const char* why;
    DWORD share;
  };
  const Case cases[] = {
      {"held open with no sharing", 0},
      {"held open by a reader that shares reading and writing only", FILE_SHARE_READ | FILE_SHARE_WRITE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    testing::TempDir dir;
    dir.Write("Prog.exe", old_version);
    std::string target = dir.File("Prog.exe");
    platform::win32::AutoCloseHandle holder(CreateFileW(platform::win32::AnsiToWide(target).c_str(), GENERIC_READ,
                                                        c.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                        nullptr));
    ASSERT_TRUE(holder.Valid());
    EXPECT_FALSE(RebuildFileFromInfo(30, row, target));
    holder.Close();
    EXPECT_EQ(dir.Read("Prog.exe"), old_version);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"Prog.exe"});
    // Once the handle is gone the same rebuild goes through.
    EXPECT_TRUE(RebuildFileFromInfo(30, row, target));
    EXPECT_EQ(dir.Read("Prog.exe"), new_version);
  }
}

}  // namespace
}  // namespace upd
