// The rebuild over the real file layer, in-memory resources and catalogue
// rows of the tests' own: what it writes, that no failure touches the target,
// and that a crash at any file operation leaves the target old or new.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "engine/crc32.h"
#include "engine/identification.h"
#include "payload/container_builder.h"
#include "payload/rebuild.h"
#include "platform/resources.h"
#include "support/crc_forcing.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::Fault;
using testing::FaultInjectingFileSystem;

constexpr int kChecksumEntry = 30;
constexpr int kProbeEntry = 5;

// Compares file contents without printing megabytes on a mismatch.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << actual.size() << " bytes, expected " << expected.size()
                                       << "; first difference at offset " << at;
}

std::string Pattern(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
  return s;
}

class RebuildTest : public ::testing::Test {
 public:
  // The new version: 40,000 bytes in payloads "PA" (25,000) and "PB" (15,000).
  const std::string new_version = Pattern(40000, 1);
  const std::string old_version = Pattern(31000, 2);
  platform::MemoryResources resources;
  platform::ScopedOverride<platform::ResourceSource> use_resources{resources};
  testing::TempDir dir;
  const std::string target = dir.File("Prog.exe");
  std::array<TPatchProbe, kProbesPerTable> probes{};

  RebuildTest() {
    resources.Add("PA", testing::PlainPayload(new_version.substr(0, 25000)));
    resources.Add("PB", testing::PlainPayload(new_version.substr(25000)));
  }

  // A row whose new version (slot 2) is `content`, rebuilt from `a` and `b`.
  TPatchPlikInfo Row(int entry, const std::string& content, std::string_view a = "PA", std::string_view b = "PB") {
    TPatchPlikInfo row{};
    row.FileName = "Prog.exe";
    row.ResourceName = {a, b};
    row.CurrentSlot = 2;
    row.SlotSize[0] = static_cast<int32_t>(old_version.size());
    row.SlotSize[1] = static_cast<int32_t>(content.size());
    if (entry >= kFirstChecksumEntry) {
      row.SlotCrc[0] = Crc32Update(0, old_version.data(), old_version.size());
      row.SlotCrc[1] = Crc32Update(0, content.data(), content.size());
    } else {
      for (int i = 0; i < kProbesPerTable; ++i) {
        int32_t offset = static_cast<int32_t>((i * 7919u) % content.size());
        probes[i] = {offset, static_cast<uint8_t>(content[static_cast<size_t>(offset)])};
      }
      row.SlotProbes[1] = probes.data();
    }
    return row;
  }

  void ExpectOnlyTarget() const { EXPECT_EQ(dir.List(), std::vector<std::string>{"Prog.exe"}); }
};

TEST_F(RebuildTest, WritesTheNewVersion) {
  struct Case {
    const char* why;
    int entry;
    std::optional<std::string> existing;
    bool one_payload;
  };
  const Case cases[] = {
      {"checksum entry over an older, shorter file", kChecksumEntry, old_version, false},
      {"a longer file ends exactly as long as the payloads together", kChecksumEntry, Pattern(100000, 3), false},
      {"a missing target is created", kChecksumEntry, std::nullopt, false},
      {"probe entry", kProbeEntry, old_version, false},
      {"second resource name empty: the first payload alone", kChecksumEntry, old_version, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::filesystem::remove(target);
    if (c.existing) dir.Write("Prog.exe", *c.existing);
    std::string expected = c.one_payload ? new_version.substr(0, 25000) : new_version;
    TPatchPlikInfo row = c.one_payload ? Row(c.entry, expected, "PA", "") : Row(c.entry, expected);
    EXPECT_TRUE(RebuildFileFromInfo(c.entry, row, target));
    EXPECT_TRUE(SameBytes(dir.Read("Prog.exe"), expected));
    ExpectOnlyTarget();
  }
}

TEST_F(RebuildTest, FailuresLeaveTheTargetAsItWas) {
  struct Case {
    const char* why;
    int entry;
    std::function<void(RebuildTest&, TPatchPlikInfo&)> spoil;
  };
  const Case cases[] = {
      {"first resource missing", kChecksumEntry, [](RebuildTest& t, TPatchPlikInfo&) { t.resources.Remove("PA"); }},
      {"second resource missing: the first payload is not kept either", kChecksumEntry,
       [](RebuildTest& t, TPatchPlikInfo&) { t.resources.Remove("PB"); }},
      {"second payload malformed", kChecksumEntry,
       [](RebuildTest& t, TPatchPlikInfo&) {
         std::vector<uint8_t> bad = testing::PlainPayload("abc");
         bad.pop_back();  // the last code is cut
         t.resources.Add("PB", bad);
       }},
      {"payloads decode to other bytes than the new version's CRC", kChecksumEntry,
       [](RebuildTest&, TPatchPlikInfo& row) { row.SlotCrc[1] ^= 1; }},
      {"payloads decode to another size than the new version's", kChecksumEntry,
       [](RebuildTest&, TPatchPlikInfo& row) { row.SlotSize[1] += 1; }},
      {"a probe of the new version does not hold", kProbeEntry,
       [](RebuildTest& t, TPatchPlikInfo&) { t.probes[49].Value ^= 0x40; }},
      {"no probe table for the new version", kProbeEntry,
       [](RebuildTest&, TPatchPlikInfo& row) { row.SlotProbes[1] = nullptr; }},
      {"target marked read-only", kChecksumEntry,
       [](RebuildTest& t, TPatchPlikInfo&) {
         namespace fs = std::filesystem;
         fs::permissions(t.target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    resources.Add("PA", testing::PlainPayload(new_version.substr(0, 25000)));
    resources.Add("PB", testing::PlainPayload(new_version.substr(25000)));
    std::error_code ignored;
    std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 ignored);
    dir.Write("Prog.exe", old_version);
    TPatchPlikInfo row = Row(c.entry, new_version);
    c.spoil(*this, row);
    EXPECT_FALSE(RebuildFileFromInfo(c.entry, row, target));
    EXPECT_TRUE(SameBytes(dir.Read("Prog.exe"), old_version));
    ExpectOnlyTarget();
  }
}

TEST_F(RebuildTest, TargetsThatCannotBeWritten) {
  // No folder: nothing is created anywhere.
  EXPECT_FALSE(RebuildFileFromInfo(kChecksumEntry, Row(kChecksumEntry, new_version), dir.File("no-dir/Prog.exe")));
  EXPECT_TRUE(dir.List().empty());
  // A folder of the target's name stays a folder.
  std::filesystem::create_directory(target);
  EXPECT_FALSE(RebuildFileFromInfo(kChecksumEntry, Row(kChecksumEntry, new_version), target));
  EXPECT_TRUE(std::filesystem::is_directory(target));
  ExpectOnlyTarget();
}

// Every file operation of a rebuild, failed once in each way the fault layer
// knows: the rebuild answers false, the target keeps its bytes and the
// temporary file is gone.
TEST_F(RebuildTest, EveryFailingFileOperationLeavesTheTargetAsItWas) {
  for (int entry : {kChecksumEntry, kProbeEntry}) {
    TPatchPlikInfo row = Row(entry, new_version);
    FaultInjectingFileSystem faulty;
    platform::ScopedOverride<platform::FileSystem> use_faulty(faulty);
    dir.Write("Prog.exe", old_version);
    ASSERT_TRUE(RebuildFileFromInfo(entry, row, target));
    const int operations = faulty.OperationCount();
    for (Fault kind : {Fault::Error, Fault::DiskFull, Fault::ShortWrite}) {
      for (int n = 1; n <= operations; ++n) {
        SCOPED_TRACE("entry " + std::to_string(entry) + ", operation " + std::to_string(n) + " of " +
                     std::to_string(operations) + ", fault " + std::to_string(static_cast<int>(kind)));
        dir.Write("Prog.exe", old_version);
        faulty.Reset();
        faulty.FailAt(n, kind);
        EXPECT_FALSE(RebuildFileFromInfo(entry, row, target));
        EXPECT_EQ(faulty.FaultsFired(), 1);
        EXPECT_TRUE(SameBytes(dir.Read("Prog.exe"), old_version));
        ExpectOnlyTarget();
      }
    }
  }
}

// A crash at every file operation: from operation N on nothing reaches the
// disk. The target is then entirely old (or still missing), and a second,
// undisturbed rebuild finishes the job and leaves no temporary file.
TEST_F(RebuildTest, CrashAtEveryFileOperationThenRebuildAgain) {
  struct Case {
    const char* why;
    int entry;
    bool target_exists;
  };
  const Case cases[] = {
      {"checksum entry", kChecksumEntry, true},
      {"probe entry", kProbeEntry, true},
      {"missing target", kChecksumEntry, false},
  };
  for (const Case& c : cases) {
    TPatchPlikInfo row = Row(c.entry, new_version);
    FaultInjectingFileSystem faulty;
    platform::ScopedOverride<platform::FileSystem> use_faulty(faulty);
    auto start = [&] {
      std::filesystem::remove(target);
      std::filesystem::remove(RebuildTemporaryPath(target));
      if (c.target_exists) dir.Write("Prog.exe", old_version);
      faulty.Reset();
    };
    start();
    ASSERT_TRUE(RebuildFileFromInfo(c.entry, row, target));
    const int operations = faulty.OperationCount();
    for (int n = 1; n <= operations; ++n) {
      SCOPED_TRACE(std::string(c.why) + ", crash at operation " + std::to_string(n) + " of " +
                   std::to_string(operations));
      start();
      faulty.FailAt(n, Fault::Error, /*persistent=*/true);
      EXPECT_FALSE(RebuildFileFromInfo(c.entry, row, target));
      if (c.target_exists) {
        std::string now = dir.Read("Prog.exe");
        EXPECT_TRUE(now == old_version || now == new_version);
      } else {
        EXPECT_FALSE(dir.Exists("Prog.exe"));
      }
      faulty.FailAt(0);
      EXPECT_TRUE(RebuildFileFromInfo(c.entry, row, target));
      EXPECT_TRUE(SameBytes(dir.Read("Prog.exe"), new_version));
      ExpectOnlyTarget();
    }
  }
}

// RebuildFile with the real catalogue rows, over payloads of the tests' own.
class RebuildEntryTest : public ::testing::Test {
 public:
  platform::MemoryResources resources;
  platform::ScopedOverride<platform::ResourceSource> use_resources{resources};
  testing::TempDir dir;

  // `size` bytes with the given CRC-32.
  static std::string VersionBytes(size_t size, uint32_t crc, uint32_t seed) {
    std::string bytes = Pattern(size, seed);
    testing::ForceCrc32(bytes, size / 2, crc);
    return bytes;
  }
};

TEST_F(RebuildEntryTest, Entry33TurnsTheOldestVersionIntoTheNewOne) {
  const std::string slot1 = VersionBytes(2050048, 0x8F07E7C9u, 11);
  const std::string slot5 = VersionBytes(2315264, 0x65E3C03Eu, 15);
  resources.Add("PDE22TDA", testing::PlainPayload(slot5.substr(0, 1500000)));
  resources.Add("PDE22TDB", testing::PlainPayload(slot5.substr(1500000)));
  dir.Write("DerodUz.exe", slot1);
  const std::string path = dir.File("DerodUz.exe");
  ASSERT_EQ(IdentifyFileVersion(33, path), kVerdictPatchable);
  EXPECT_TRUE(RebuildFile(33, path));
  EXPECT_EQ(IdentifyFileVersion(33, path), kVerdictCurrent);
  EXPECT_TRUE(SameBytes(dir.Read("DerodUz.exe"), slot5));
  EXPECT_EQ(dir.List(), std::vector<std::string>{"DerodUz.exe"});
}

TEST_F(RebuildEntryTest, AMissingFileOfAnEntryWithASingleVersionIsCreated) {
  // Entry 9 knows one version, the new one (CurrentSlot 1), recognised by probes.
  const TPatchPlikInfo& row = PatchCatalogue(9);
  ASSERT_EQ(row.CurrentSlot, 1);
  ASSERT_TRUE(row.ResourceName[1].empty());
  std::string content = Pattern(static_cast<size_t>(row.SlotSize[0]), 9);
  for (int i = 0; i < kProbesPerTable; ++i)
    content[static_cast<size_t>(row.SlotProbes[0][i].Offset)] = static_cast<char>(row.SlotProbes[0][i].Value);
  resources.Add(std::string(row.ResourceName[0]), testing::PlainPayload(content));
  const std::string path = dir.File(std::string(row.FileName));
  EXPECT_TRUE(RebuildFile(9, path));
  EXPECT_EQ(IdentifyFileVersion(9, path), kVerdictCurrent);
  EXPECT_TRUE(SameBytes(testing::ReadWholeFile(path), content));
}

TEST_F(RebuildEntryTest, AnEntryWhosePayloadsTheExecutableLacksFails) {
  dir.Write("VarskoEn.exe", "an older program");
  EXPECT_FALSE(RebuildFile(1, dir.File("VarskoEn.exe")));
  EXPECT_EQ(dir.Read("VarskoEn.exe"), "an older program");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"VarskoEn.exe"});
}

}  // namespace
}  // namespace upd
