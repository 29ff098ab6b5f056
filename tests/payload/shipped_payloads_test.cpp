// The payloads the default build carries, found the way the updater finds
// them: on Windows as RCDATA resources of this very executable, elsewhere in
// the linked-in table of the same bytes.

#include <gtest/gtest.h>

#include "build_config.h"
#include "build_resources.h"
#include "engine/crc32.h"
#include "engine/identification.h"
#include "payload/decoder.h"
#include "payload/rebuild.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

const std::string kSampleDir = UPD_SAMPLE_DIR;

TEST(ShippedPayloads, DecodeToTheTwoPiecesOfTheNewProgramFile) {
  struct Piece {
    const char* name;
    size_t size;
  };
  const Piece pieces[] = {{"PDE22TDA", 1500000}, {"PDE22TDB", 815264}};
  ASSERT_EQ(build::kResources.size(), 2u);
  uint32_t crc = 0;
  size_t total = 0;
  PayloadDecoder decoder;
  for (const Piece& piece : pieces) {
    SCOPED_TRACE(piece.name);
    auto bytes = build::EmbeddedResources().Find(piece.name);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(DecodePayload(decoder, *bytes), DecodeStatus::Ok) << DecodeStatusText(decoder.status);
    EXPECT_EQ(decoder.output_count, piece.size);
    crc = Crc32Update(crc, decoder.buffer.data(), decoder.output_count);
    total += decoder.output_count;
  }
  // Back to back they are the new version of DerodUz.exe.
  EXPECT_EQ(total, 2315264u);
  EXPECT_EQ(crc, 0x65E3C03Eu);
}

TEST(ShippedPayloads, RebuildTheOldestSampleVersionIntoTheNewOne) {
  testing::TempDir dir;
  dir.Write("DerodUz.exe", testing::ReadWholeFile(kSampleDir + "/DerodUz-slot1.exe"));
  const std::string path = dir.File("DerodUz.exe");
  ASSERT_EQ(IdentifyFileVersion(33, path), kVerdictPatchable);

  platform::ScopedOverride<platform::ResourceSource> use(build::EmbeddedResources());
  EXPECT_TRUE(RebuildFile(33, path));
  EXPECT_EQ(IdentifyFileVersion(33, path), kVerdictCurrent);
  EXPECT_TRUE(dir.Read("DerodUz.exe") == testing::ReadWholeFile(kSampleDir + "/DerodUz-slot5.exe"));
  EXPECT_EQ(dir.List(), std::vector<std::string>{"DerodUz.exe"});
}

}  // namespace
}  // namespace upd
