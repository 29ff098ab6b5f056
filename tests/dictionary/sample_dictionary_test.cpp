#include "dictionary/sample_dictionary.h"

#include <gtest/gtest.h>

#include <random>

#include "dictionary/dictionary_patch.h"
#include "dictionary/edit_script.h"
#include "dictionary/edit_script_maker.h"
#include "engine/crc32.h"
#include "platform/resources.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

uint32_t Crc(std::string_view bytes) { return Crc32Update(0, bytes.data(), bytes.size()); }

TEST(CrcPatchBytes, ReachesAnyChecksum) {
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    std::string prefix(rng() % 50, '\0'), suffix(rng() % 50, '\0');
    for (char& c : prefix) c = static_cast<char>(rng());
    for (char& c : suffix) c = static_cast<char>(rng());
    const uint32_t target = round == 0 ? 0 : round == 1 ? 0xFFFFFFFF : static_cast<uint32_t>(rng());
    auto patch = CrcPatchBytes(Crc(prefix), suffix, target);
    std::string whole = prefix + std::string(patch.begin(), patch.end()) + suffix;
    EXPECT_EQ(Crc(whole), target) << "round " << round;
  }
}

class SampleDictionaryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sample_ = new SampleDictionary(MakeSampleDictionary()); }
  static void TearDownTestSuite() {
    delete sample_;
    sample_ = nullptr;
  }
  static SampleDictionary* sample_;
};
SampleDictionary* SampleDictionaryTest::sample_ = nullptr;

TEST_F(SampleDictionaryTest, HasTheSizesAndChecksumsOfThePatch) {
  EXPECT_EQ(sample_->oldBytes.size(), 20856322u);
  EXPECT_EQ(Crc(sample_->oldBytes), 0x134A6078u);
  EXPECT_EQ(sample_->newBytes.size(), 20908583u);
  EXPECT_EQ(Crc(sample_->newBytes), 0x301F4AC5u);
}

TEST_F(SampleDictionaryTest, AreCrLfTextsWithoutZeroBytes) {
  for (const std::string* bytes : {&sample_->oldBytes, &sample_->newBytes}) {
    EXPECT_NO_THROW(SplitCrLfText(*bytes));
    EXPECT_EQ(bytes->find('\0'), std::string::npos);
  }
}

TEST_F(SampleDictionaryTest, TheScriptTurnsTheOldFileIntoTheNewOne) {
  testing::TempDir dir;
  dir.Write("engpol2.sg", sample_->oldBytes);
  NoMessages pump;
  int32_t percent = 0;
  ASSERT_TRUE(ApplyEditScript(dir.File("engpol2.sg"), dir.File("new.sg"), SplitScriptText(sample_->script), percent,
                              pump));
  EXPECT_EQ(percent, 100);
  EXPECT_TRUE(dir.Read("new.sg") == sample_->newBytes);
}

// The checksums of the files are reached whatever their entries are; the
// script depends on every entry of both, so its checksum shows that every
// platform (and every run) makes the same sample.
TEST_F(SampleDictionaryTest, IsTheSameOnEveryPlatform) {
  EXPECT_EQ(sample_->script.size(), 384431u);
  EXPECT_EQ(Crc(sample_->script), 0x90D95C8Au);
}

// The sample is the old and the new version of this build's dictionary patch,
// and the patch brings one to the other.
TEST_F(SampleDictionaryTest, IsThePatchOfThisBuild) {
  const TPatchSlownikInfo& patch = DictionaryPatches()[0];
  testing::TempDir dir;
  dir.Write(patch.OldFile.Name, sample_->oldBytes);
  platform::MemoryResources resources;
  resources.Add(patch.ScriptResource, std::vector<uint8_t>(sample_->script.begin(), sample_->script.end()));
  platform::ScopedOverride<platform::ResourceSource> use(resources);
  NoMessages pump;
  int32_t percent = 0;
  EXPECT_EQ(PatchDictionary(dir.Dir(), patch, percent, pump), kDictionaryPatched);
  EXPECT_TRUE(dir.Read(patch.NewFile.Name) == sample_->newBytes);
  EXPECT_EQ(PatchDictionary(dir.Dir(), patch, percent, pump), kDictionaryAlreadyNew);
}

}  // namespace
}  // namespace upd
