// Sharing modes, for real: the checksum is taken with others denied writing, so
// it fails while someone holds the file open for writing and works once they
// let go. The file layer retries a sharing violation for about 0.75 s before it
// gives up, so each failing call here takes that long.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "engine/crc32.h"
#include "engine/identification.h"
#include "platform/win32/win_text.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

TEST(FileCrc32Win32, FailsWhileAnotherHandleCanWriteTheFile) {
  testing::TempDir dir;
  dir.Write("held.bin", "abc");
  const std::wstring wide = std::filesystem::path(dir.File("held.bin")).wstring();

  platform::win32::AutoCloseHandle writer(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.Valid()) << GetLastError();
  EXPECT_FALSE(FileCrc32(dir.File("held.bin")));
  EXPECT_EQ(IdentifyFileVersion(33, dir.File("held.bin")), kVerdictOpenError);

  ASSERT_TRUE(writer.Close());
  auto crc = FileCrc32(dir.File("held.bin"));
  ASSERT_TRUE(crc);
  EXPECT_EQ(*crc, 0x352441C2u);
}

TEST(FileCrc32Win32, AReaderThatSharesReadingDoesNotStandInTheWay) {
  testing::TempDir dir;
  dir.Write("read.bin", "abc");
  const std::wstring wide = std::filesystem::path(dir.File("read.bin")).wstring();
  platform::win32::AutoCloseHandle reader(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(reader.Valid()) << GetLastError();
  EXPECT_EQ(FileCrc32(dir.File("read.bin")), 0x352441C2u);
}

}  // namespace
}  // namespace upd
