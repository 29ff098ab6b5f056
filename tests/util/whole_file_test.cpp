// Whole-file reads of a byte range and writes that replace a file only when
// everything was written.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"
#include "util/whole_file.h"

namespace upd {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(ReadFileBytes, ReadsTheRangeItIsGiven) {
  testing::TempDir dir;
  dir.Write("f", "0123456789");
  struct Case {
    uint64_t offset;
    std::optional<uint64_t> length;
    std::string expected;
  };
  const Case cases[] = {
      {0, std::nullopt, "0123456789"},  // the whole file
      {3, std::nullopt, "3456789"},     // from an offset to the end
      {3, 4, "3456"},                   // a range inside
      {0, 10, "0123456789"},            // a range that ends at the end
      {10, std::nullopt, ""},           // nothing left after the offset
  };
  for (const Case& c : cases) EXPECT_EQ(ReadFileBytes(dir.File("f"), c.offset, c.length), Bytes(c.expected));
}

TEST(ReadFileBytes, ARangeOutsideTheFileOrAMissingFileIsAnErrorNamingTheFile) {
  testing::TempDir dir;
  dir.Write("f", "0123456789");
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_NE(message([&] { ReadFileBytes(dir.File("f"), 11); }).find("past the end"), std::string::npos);
  EXPECT_NE(message([&] { ReadFileBytes(dir.File("f"), 5, 6); }).find("runs past the end"), std::string::npos);
  EXPECT_NE(message([&] { ReadFileBytes(dir.File("missing")); }).find(dir.File("missing")), std::string::npos);
}

TEST(WriteFileReplacing, CreatesOrReplacesTheFileAndLeavesNothingElse) {
  testing::TempDir dir;
  WriteFileReplacing(dir.File("out"), Bytes("new file"));
  EXPECT_EQ(dir.Read("out"), "new file");
  WriteFileReplacing(dir.File("out"), Bytes("shorter"));
  EXPECT_EQ(dir.Read("out"), "shorter");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"out"});
}

TEST(WriteFileReplacing, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
  testing::TempDir dir;
  testing::FaultInjectingFileSystem faulty;
  platform::ScopedOverride<platform::FileSystem> use(faulty);
  dir.Write("out", "old content");
  WriteFileReplacing(dir.File("out"), Bytes("new content"));
  const int operations = faulty.OperationCount();
  ASSERT_GE(operations, 4);  // create, write, close, replace at least
  for (testing::Fault kind : {testing::Fault::Error, testing::Fault::ShortWrite}) {
    for (int n = 1; n <= operations; ++n) {
      dir.Write("out", "old content");
      faulty.Reset();
      faulty.FailAt(n, kind);
      EXPECT_THROW(WriteFileReplacing(dir.File("out"), Bytes("new content")), std::runtime_error) << n;
      EXPECT_EQ(dir.Read("out"), "old content") << n;
      EXPECT_EQ(dir.List(), std::vector<std::string>{"out"}) << n;
    }
  }
}

}  // namespace
}  // namespace upd
