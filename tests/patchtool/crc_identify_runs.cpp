// patchtool crc and identify, run as the release engineers run them; the
// checksums are compared with zlib's crc32.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "patchtool/run_patchtool.h"
#include "support/crc_forcing.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::RunPatchtool;
using testing::TempDir;
using Result = testing::ToolResult;

std::string Bytes(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = static_cast<uint32_t>(size);
  for (auto& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  return bytes;
}

std::string ZlibLine(const std::string& bytes, const std::string& path) {
  uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08lX", crc);
  return std::string(hex) + "  " + path + "\n";
}

TEST(PatchtoolCrc, AgreesWithZlibAroundTheBlockSize) {
  TempDir dir;
  std::vector<std::string> args = {"crc"};
  std::string expected;
  for (size_t size : {0u, 1u, 3u, 8191u, 8192u, 8193u, 4194305u}) {
    std::string name = "f" + std::to_string(size);
    std::string bytes = size == 3 ? std::string("abc") : Bytes(size);
    dir.Write(name, bytes);
    args.push_back(dir.File(name));
    expected += ZlibLine(bytes, dir.File(name));
  }
  Result r = RunPatchtool(args, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, expected);
  EXPECT_NE(r.out.find("352441C2  " + dir.File("f3") + "\n"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST(PatchtoolCrc, NamesAnUnreadableFileAndStillPrintsTheOthers) {
  TempDir dir;
  dir.Write("a", "abc");
  dir.Write("b", "");
  Result r = RunPatchtool({"crc", dir.File("a"), dir.File("missing"), dir.File("b")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "352441C2  " + dir.File("a") + "\n00000000  " + dir.File("b") + "\n");
  EXPECT_NE(r.err.find(dir.File("missing")), std::string::npos) << r.err;
}

TEST(PatchtoolIdentify, PrintsTheVerdictAndTheSlot) {
  TempDir dir;
  std::string current = Bytes(2315264);
  testing::ForceCrc32(current, 1000, 0x65E3C03E);
  dir.Write("current.exe", current);
  std::string older = Bytes(2050048);
  testing::ForceCrc32(older, 1000, 0x8F07E7C9);
  dir.Write("older.exe", older);
  dir.Write("empty.exe", "");

  struct Case {
    const char* entry;
    std::string file;
    std::string out;
    int status;
  } cases[] = {
      {"33", dir.File("current.exe"), "0 current slot 5\n", 0},
      {"33", dir.File("older.exe"), "1 patchable slot 1\n", 0},
      {"8", dir.File("older.exe"), "2 unknown\n", 0},  // same name, probe kind: the probes decide
      {"33", dir.File("empty.exe"), "2 unknown\n", 0},
      {"33", dir.File("missing.exe"), "3 open-error\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Result r = RunPatchtool({"identify", c.entry, c.file}, dir);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.status, c.status);
    if (c.status != 0) {
      EXPECT_NE(r.err.find(c.file), std::string::npos) << r.err;
    }
  }
}

TEST(PatchtoolIdentify, RefusesAnEntryNumberOutsideTheCatalogue) {
  TempDir dir;
  dir.Write("f", "abc");
  for (const char* entry : {"0", "34", "-1", "x", "3x"}) {
    SCOPED_TRACE(entry);
    Result r = RunPatchtool({"identify", "--", entry, dir.File("f")}, dir);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("1 to 33"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace upd
