// Identification over real temporary files: the verdicts of both kinds, the
// order in which slots and probes are tried, and every failure turned into the
// open-error verdict with the file closed.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/crc32.h"
#include "engine/identification.h"
#include "platform/files.h"
#include "support/crc_forcing.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::TempDir;

// Deterministic bytes that look like nothing in particular.
std::string Filler(size_t size, uint32_t seed = 1) {
  std::string bytes(size, '\0');
  uint32_t x = seed;
  for (auto& c : bytes) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
  return bytes;
}

// A file of the slot's size holding every probe of the slot.
std::string ProbeVersion(int entry, int slot) {
  const auto& row = PatchCatalogue(entry);
  std::string bytes = Filler(static_cast<size_t>(row.SlotSize[slot - 1]), static_cast<uint32_t>(entry * 100 + slot));
  for (int i = 0; i < kProbesPerTable; ++i) {
    const TPatchProbe& p = row.SlotProbes[slot - 1][i];
    bytes[static_cast<size_t>(p.Offset)] = static_cast<char>(p.Value);
  }
  return bytes;
}

// The same with the byte of probe `index` changed.
std::string ProbeVersionWithout(int entry, int slot, int index) {
  std::string bytes = ProbeVersion(entry, slot);
  bytes[static_cast<size_t>(PatchCatalogue(entry).SlotProbes[slot - 1][index].Offset)] ^= 0x5A;
  return bytes;
}

// A file of `size` bytes whose CRC-32 is `crc`.
std::string ChecksumVersion(size_t size, uint32_t crc) {
  std::string bytes = Filler(size, static_cast<uint32_t>(size));
  testing::ForceCrc32(bytes, size / 2, crc);
  return bytes;
}

struct Case {
  const char* why;
  int entry;
  std::function<std::string()> content;
  IdentifyVerdict verdict;
  int32_t slot;
};

TEST(IdentifyFileVersion, VerdictsOverFiles) {
  const Case cases[] = {
      {"entry 33 as the rebuild writes it: slot 5, current", 33, [] { return ChecksumVersion(2315264, 0x65E3C03E); },
       kVerdictCurrent, 5},
      {"entry 33's oldest known version", 33, [] { return ChecksumVersion(2050048, 0x8F07E7C9); },
       kVerdictPatchable, 1},
      {"slot 4's size with another CRC", 33, [] { return ChecksumVersion(2314752, 0x37BA25E3 ^ 1); },
       kVerdictUnknown, 0},
      {"slot 2's size with slot 3's CRC: both must come from one slot", 33,
       [] { return ChecksumVersion(2143744, 0x121C663D); }, kVerdictUnknown, 0},
      {"an empty file, checksum kind", 33, [] { return std::string(); }, kVerdictUnknown, 0},
      {"an empty file against entry 2, whose empty slots have size 0 too", 2, [] { return std::string(); },
       kVerdictUnknown, 0},
      {"entry 2's slot 4, past the empty slots 2 and 3", 2, [] { return ProbeVersion(2, 4); }, kVerdictCurrent, 4},
      {"entry 2's slot 1", 2, [] { return ProbeVersion(2, 1); }, kVerdictPatchable, 1},
      {"slot 4's size, only the last probe differs", 2, [] { return ProbeVersionWithout(2, 4, 49); },
       kVerdictUnknown, 0},
      {"slot 1's probes in a file one byte longer", 2, [] { return ProbeVersion(2, 1) + "x"; }, kVerdictUnknown, 0},
      {"entry 16's slot 1, first of two of one size", 16, [] { return ProbeVersion(16, 1); }, kVerdictPatchable, 1},
      {"entry 16's slot 2: slot 1's probes fail, slot 2's decide", 16, [] { return ProbeVersion(16, 2); },
       kVerdictCurrent, 2},
      {"entry 1's slot 5, which shares its size with slot 4", 1, [] { return ProbeVersion(1, 5); }, kVerdictPatchable,
       5},
      {"entry 9's only version is its new one", 9, [] { return ProbeVersion(9, 1); }, kVerdictCurrent, 1},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::string bytes = c.content();
    dir.Write("file.bin", bytes);
    TFileVersion got = IdentifyFileVersionSlot(c.entry, dir.File("file.bin"));
    EXPECT_EQ(got.Verdict, c.verdict);
    EXPECT_EQ(got.Slot, c.slot);
    EXPECT_EQ(IdentifyFileVersion(c.entry, dir.File("file.bin")), c.verdict);
  }
}

TEST(IdentifyFileVersion, ForcedChecksumsAreTheCatalogues) {
  // The files above stand for catalogue versions only if their CRCs are exact.
  for (uint32_t crc : {0x65E3C03Eu, 0x00000000u, 0xFFFFFFFFu}) {
    std::string bytes = ChecksumVersion(10000, crc);
    EXPECT_EQ(Crc32Update(0, bytes.data(), bytes.size()), crc);
  }
}

TEST(IdentifyFileVersion, WhatCannotBeOpenedIsAnOpenError) {
  TempDir dir;
  EXPECT_EQ(IdentifyFileVersion(33, dir.File("missing.exe")), kVerdictOpenError);
  EXPECT_EQ(IdentifyFileVersion(2, dir.File("missing.exe")), kVerdictOpenError);
  EXPECT_EQ(IdentifyFileVersion(33, dir.Path()), kVerdictOpenError) << "a directory";
}

// A file layer over another that records, per file opened for reading, the
// positions it was set to and the sizes of the reads, and counts the files
// still open. Optionally every single-byte read finds the end of the file, as
// when the file shrinks after its size was taken, and files opened after the
// first report a larger size, as when the file grows between the two passes.
class RecordingFileSystem : public platform::FileSystem {
 public:
  struct Opened {
    std::vector<int64_t> seeks;
    std::vector<size_t> reads;
  };

  explicit RecordingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  std::vector<Opened> opened;
  int stillOpen = 0;
  bool singleByteReadsFindTheEnd = false;
  int64_t laterOpensGrowBy = 0;

  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string& path) override {
    auto file = inner_.OpenRead(path);
    if (!file) return nullptr;
    opened.emplace_back();
    return std::make_unique<Input>(*this, opened.size() - 1, std::move(file));
  }
  std::unique_ptr<platform::OutputFile> CreateTruncate(const std::string& path) override {
    return inner_.CreateTruncate(path);
  }
  bool Delete(const std::string& path) override { return inner_.Delete(path); }
  bool Rename(const std::string& from, const std::string& to) override { return inner_.Rename(from, to); }
  bool ReplaceFile(const std::string& from, const std::string& to) override { return inner_.ReplaceFile(from, to); }
  std::string LastErrorText() override { return inner_.LastErrorText(); }

 private:
  class Input : public platform::InputFile {
   public:
    Input(RecordingFileSystem& fs, size_t index, std::unique_ptr<platform::InputFile> inner)
        : fs_(fs), index_(index), inner_(std::move(inner)) {
      ++fs_.stillOpen;
    }
    ~Input() override { --fs_.stillOpen; }
    std::optional<int64_t> Size() override {
      auto size = inner_->Size();
      if (size && index_ > 0) *size += fs_.laterOpensGrowBy;
      return size;
    }
    std::optional<size_t> Read(void* buffer, size_t count) override {
      fs_.opened[index_].reads.push_back(count);
      if (count == 1 && fs_.singleByteReadsFindTheEnd) return 0;
      return inner_->Read(buffer, count);
    }
    bool Seek(int64_t offset) override {
      fs_.opened[index_].seeks.push_back(offset);
      return inner_->Seek(offset);
    }
    int64_t Position() const override { return inner_->Position(); }

   private:
    RecordingFileSystem& fs_;
    size_t index_;
    std::unique_ptr<platform::InputFile> inner_;
  };

  platform::FileSystem& inner_;
};

std::vector<int64_t> ProbeOffsets(int entry, int slot, int count) {
  std::vector<int64_t> offsets;
  for (int i = 0; i < count; ++i) offsets.push_back(PatchCatalogue(entry).SlotProbes[slot - 1][i].Offset);
  return offsets;
}

TEST(IdentifyFileVersion, ChecksumPassFirstThenProbesInTableOrderUntilOneDiffers) {
  TempDir dir;
  RecordingFileSystem recording(platform::FileSystem::System());
  platform::ScopedOverride<platform::FileSystem> use(recording);

  // Probe 7 of entry 2's slot 1 differs: the pass reads probes 0 to 7, one byte each, and stops.
  dir.Write("file.bin", ProbeVersionWithout(2, 1, 7));
  EXPECT_EQ(IdentifyFileVersion(2, dir.File("file.bin")), kVerdictUnknown);
  ASSERT_EQ(recording.opened.size(), 2u) << "the checksum pass, then the probe pass";
  EXPECT_EQ(recording.opened[0].reads.front(), 8192u) << "the checksum pass reads whole blocks";
  EXPECT_EQ(recording.opened[1].seeks, ProbeOffsets(2, 1, 8));
  EXPECT_EQ(recording.opened[1].reads, std::vector<size_t>(8, 1));

  // Every probe holds: all 50 are read, in table order.
  recording.opened.clear();
  dir.Write("file.bin", ProbeVersion(2, 1));
  EXPECT_EQ(IdentifyFileVersion(2, dir.File("file.bin")), kVerdictPatchable);
  ASSERT_EQ(recording.opened.size(), 2u);
  EXPECT_EQ(recording.opened[1].seeks, ProbeOffsets(2, 1, kProbesPerTable));
  EXPECT_EQ(recording.stillOpen, 0);
}

TEST(IdentifyFileVersion, AProbeThatFindsNoByteIsAnOpenError) {
  TempDir dir;
  dir.Write("file.bin", ProbeVersion(2, 4));
  RecordingFileSystem recording(platform::FileSystem::System());
  recording.singleByteReadsFindTheEnd = true;
  platform::ScopedOverride<platform::FileSystem> use(recording);
  EXPECT_EQ(IdentifyFileVersion(2, dir.File("file.bin")), kVerdictOpenError);
  EXPECT_EQ(recording.stillOpen, 0);
}

TEST(IdentifyFileVersion, SizesAreComparedInFull) {
  // A file of 4 GiB plus slot 1's size would pass for slot 1 if only the low
  // 32 bits of its size were compared, and its probes would then hold.
  TempDir dir;
  dir.Write("file.bin", ProbeVersion(2, 1));
  RecordingFileSystem recording(platform::FileSystem::System());
  recording.laterOpensGrowBy = int64_t{1} << 32;
  platform::ScopedOverride<platform::FileSystem> use(recording);
  EXPECT_EQ(IdentifyFileVersion(2, dir.File("file.bin")), kVerdictUnknown);
}

TEST(IdentifyFileVersion, EveryFailingFileOperationGivesAnOpenErrorAndClosesTheFile) {
  struct Config {
    const char* why;
    int entry;
    std::string content;
    IdentifyVerdict clean;
  };
  const Config configs[] = {
      {"probe kind, all 50 probes read", 3, ProbeVersion(3, 3), kVerdictCurrent},
      {"checksum kind", 29, ChecksumVersion(58368, PatchCatalogue(29).SlotCrc[2]), kVerdictCurrent},
  };
  TempDir dir;
  for (const Config& config : configs) {
    SCOPED_TRACE(config.why);
    dir.Write("file.bin", config.content);
    testing::FaultInjectingFileSystem faulty;
    RecordingFileSystem recording(faulty);
    platform::ScopedOverride<platform::FileSystem> use(recording);

    ASSERT_EQ(IdentifyFileVersion(config.entry, dir.File("file.bin")), config.clean);
    const int operations = faulty.OperationCount();
    ASSERT_GT(operations, 3);
    for (int n = 1; n <= operations; ++n) {
      faulty.Reset();
      faulty.FailAt(n);
      EXPECT_EQ(IdentifyFileVersion(config.entry, dir.File("file.bin")), kVerdictOpenError) << "operation " << n;
      EXPECT_EQ(faulty.FaultsFired(), 1) << "operation " << n;
      EXPECT_EQ(recording.stillOpen, 0) << "operation " << n;
    }
  }
}

}  // namespace
}  // namespace upd
