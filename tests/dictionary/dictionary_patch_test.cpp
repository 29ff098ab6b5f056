#include "dictionary/dictionary_patch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/edit_script_maker.h"
#include "engine/crc32.h"
#include "i18n/messages.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::Fault;
using testing::FaultInjectingFileSystem;
using testing::TempDir;

// Small dictionaries with their own patch, so that every file operation of a
// patch can be stopped in turn.
const std::string kOld =
    "apple\tn\tjab\xB3ko\r\n"
    "bread\tn\tchleb\r\n"
    "cat\tn\tkot\r\n"
    "dog\tn\tpies\r\n"
    "egg\tn\tjajko\r\n";
const std::string kNew =
    "apple\tn\tjab\xB3ko\r\n"
    "butter\tn\tmas\xB3o\r\n"
    "cat\tn\tkot\r\n"
    "dog\tn\tpies, piesek\r\n"
    "egg\tn\tjajko\r\n"
    "fish\tn\tryba\r\n";

uint32_t Crc(const std::string& bytes) { return Crc32Update(0, bytes.data(), bytes.size()); }

std::vector<uint8_t> ScriptBytes(const std::string& from, const std::string& to) {
  TextLines oldLines = SplitCrLfText(from), newLines = SplitCrLfText(to);
  std::string text = MakeEditScript(oldLines.lines, newLines.lines).text;
  return {text.begin(), text.end()};
}

TPatchSlownikInfo TestPatch(const std::string& oldName = "test.sg", const std::string& newName = "test.sg") {
  return {AppIdSet({6, 9}),
          {oldName, static_cast<int32_t>(kOld.size()), Crc(kOld)},
          {newName, static_cast<int32_t>(kNew.size()), Crc(kNew)},
          "PSLTEST"};
}

// The window: a status text, a progress timer whose ticks run when the update
// lets the window handle its messages, and what it saw.
class FakeWindow : public DictionaryHost {
 public:
  std::u16string StatusText() override { return status; }
  void SetStatusText(const std::u16string& text) override { status = text; }
  uint8_t DisplayLanguage() override { return language; }
  void EnableProgressTimer(bool enabled) override {
    timerOn = enabled;
    timerSwitches.push_back(enabled);
  }
  int32_t& ProgressPercent() override { return percent; }
  std::u16string& ProgressCaption() override { return caption; }
  void SetRunSucceeded(bool value) override { runSucceeded = value; }
  void ProcessPendingMessages() override {
    ++turns;
    if (timerOn) {
      status = ProgressStatusText(caption, percent);
      ticks.push_back(status);
    }
    if (onTurn) onTurn();
  }

  std::u16string status = u"Start\n";
  uint8_t language = kEnglish;
  bool timerOn = false;
  std::vector<bool> timerSwitches;
  int32_t percent = -1;
  std::u16string caption;
  std::optional<bool> runSucceeded;  // nullopt: never set
  int turns = 0;
  std::vector<std::u16string> ticks;
  std::function<void()> onTurn;
};

class DictionaryPatchTest : public ::testing::Test {
 protected:
  DictionaryPatchTest() : useResources_(resources_) { resources_.Add("PSLTEST", ScriptBytes(kOld, kNew)); }

  int32_t Patch(const TPatchSlownikInfo& patch = TestPatch()) {
    return PatchDictionary(dir_.Dir(), patch, window_.percent, window_);
  }
  std::vector<std::string> Files() const { return dir_.List(); }

  TempDir dir_;
  FakeWindow window_;
  platform::MemoryResources resources_;
  platform::ScopedOverride<platform::ResourceSource> useResources_;
};

TEST_F(DictionaryPatchTest, OldDictionaryIsReplacedByTheNewOne) {
  dir_.Write("test.sg", kOld);
  EXPECT_EQ(Patch(), kDictionaryPatched);
  EXPECT_EQ(dir_.Read("test.sg"), kNew);
  EXPECT_EQ(Files(), std::vector<std::string>{"test.sg"});  // no temporary file left
  EXPECT_EQ(window_.percent, 100);
}

TEST_F(DictionaryPatchTest, NewDictionaryIsLeftAlone) {
  dir_.Write("test.sg", kNew);
  window_.onTurn = [] { ADD_FAILURE() << "nothing to wait for"; };
  EXPECT_EQ(Patch(), kDictionaryAlreadyNew);
  EXPECT_EQ(dir_.Read("test.sg"), kNew);
  EXPECT_EQ(Files(), std::vector<std::string>{"test.sg"});
}

TEST_F(DictionaryPatchTest, UnknownOrMissingDictionaryIsNotTouched) {
  std::string otherCrc = kOld;
  otherCrc[3] = 'X';  // same size, another checksum
  const struct {
    const char* why;
    const char* content;  // nullptr: no file
  } cases[] = {
      {"missing", nullptr},
      {"old size, other checksum", otherCrc.c_str()},
      {"other size", "apple\r\n"},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    if (c.content) dir_.Write("test.sg", c.content);
    EXPECT_EQ(Patch(), kDictionaryNotPatched);
    if (c.content) {
      EXPECT_EQ(dir_.Read("test.sg"), c.content);
    }
    EXPECT_EQ(Files().size(), c.content ? 1u : 0u);
  }
}

// With the old file found but no good new one from it, the old file stays as
// it was, no temporary file is left, and the update counts as failed.
TEST_F(DictionaryPatchTest, FailedUpdateKeepsTheOldDictionary) {
  const struct {
    const char* why;
    std::optional<std::string> script;  // nullopt: no resource
  } cases[] = {
      {"no script resource", std::nullopt},
      {"script for another file", std::string("DOD\r\n0\r\nwrong\r\n")},
      {"script cut short", std::string("USUN\r\n1\r\nDOD\r\n")},
      {"number line is no number", std::string("USUN\r\none\r\n")},
      {"empty script", std::string()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    dir_.Write("test.sg", kOld);
    if (c.script)
      resources_.Add("PSLTEST", std::vector<uint8_t>(c.script->begin(), c.script->end()));
    else
      resources_.Remove("PSLTEST");
    bool sawTemp = false;
    window_.onTurn = [&] { sawTemp = sawTemp || dir_.Exists("slupdate.tmp"); };
    EXPECT_EQ(Patch(), kDictionaryUpdateFailed);
    EXPECT_EQ(dir_.Read("test.sg"), kOld);
    EXPECT_EQ(Files(), std::vector<std::string>{"test.sg"});
    if (!c.script) {
      EXPECT_FALSE(sawTemp);
    }
  }
}

TEST_F(DictionaryPatchTest, TakenTemporaryNameIsLeftAlone) {
  dir_.Write("test.sg", kOld);
  dir_.Write("slupdate.tmp", "someone else's");
  std::vector<std::string> seen;
  window_.onTurn = [&] { seen = Files(); };
  EXPECT_EQ(Patch(), kDictionaryPatched);
  EXPECT_EQ(seen, (std::vector<std::string>{"slupdate.tmp", "slupdate1.tmp", "test.sg"}));
  EXPECT_EQ(dir_.Read("slupdate.tmp"), "someone else's");
  EXPECT_EQ(Files(), (std::vector<std::string>{"slupdate.tmp", "test.sg"}));
}

TEST_F(DictionaryPatchTest, NewNamePutInPlaceBeforeTheOldOneGoes) {
  const TPatchSlownikInfo patch = TestPatch("old.sg", "new.sg");
  dir_.Write("old.sg", kOld);
  EXPECT_EQ(Patch(patch), kDictionaryPatched);
  EXPECT_EQ(Files(), std::vector<std::string>{"new.sg"});
  EXPECT_EQ(dir_.Read("new.sg"), kNew);

  // A file of the new name that is not the new version is replaced.
  dir_.Write("old.sg", kOld);
  dir_.Write("new.sg", "half a dictionary");
  EXPECT_EQ(Patch(patch), kDictionaryPatched);
  EXPECT_EQ(Files(), std::vector<std::string>{"new.sg"});
  EXPECT_EQ(dir_.Read("new.sg"), kNew);

  // The new version under the new name: nothing to do, the old file stays.
  dir_.Write("old.sg", kOld);
  EXPECT_EQ(Patch(patch), kDictionaryAlreadyNew);
  EXPECT_EQ(Files(), (std::vector<std::string>{"new.sg", "old.sg"}));
}

// A file that can be sized but not read: no checksum, so not the version.
class UnreadableFiles : public FaultInjectingFileSystem {
 public:
  explicit UnreadableFiles(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<platform::InputFile> OpenRead(const std::string& path) override {
    auto file = Inner().OpenRead(path);
    if (!file || path != path_) return file;
    struct Unreadable : platform::InputFile {
      std::unique_ptr<platform::InputFile> inner;
      std::optional<int64_t> Size() override { return inner->Size(); }
      std::optional<size_t> Read(void*, size_t) override { return std::nullopt; }
      bool Seek(int64_t offset) override { return inner->Seek(offset); }
      int64_t Position() const override { return inner->Position(); }
    };
    auto unreadable = std::make_unique<Unreadable>();
    unreadable->inner = std::move(file);
    return unreadable;
  }

 private:
  std::string path_;
};

TEST_F(DictionaryPatchTest, ChecksumThatCannotBeComputedCountsAsNotFound) {
  for (const std::string* content : {&kOld, &kNew}) {
    dir_.Write("test.sg", *content);
    UnreadableFiles files(dir_.Dir() + "test.sg");
    platform::ScopedOverride<platform::FileSystem> use(files);
    EXPECT_EQ(Patch(), kDictionaryNotPatched);
    EXPECT_EQ(dir_.Read("test.sg"), *content);
  }
}

// Every file operation of a patch, from the Nth on, fails (a crash, a pulled
// plug) or fails alone (a short lock, a full disk): afterwards the dictionary
// is entirely old or entirely new, the result says which, and a clean second
// run finishes the job.
TEST_F(DictionaryPatchTest, EveryFailureLeavesAWholeDictionary) {
  for (const auto& [oldName, newName] : {std::pair<std::string, std::string>{"test.sg", "test.sg"},
                                        std::pair<std::string, std::string>{"old.sg", "new.sg"}}) {
    const TPatchSlownikInfo patch = TestPatch(oldName, newName);
    FaultInjectingFileSystem faulty;
    int operations = 0;
    {
      dir_.Write(oldName, kOld);
      platform::ScopedOverride<platform::FileSystem> use(faulty);
      ASSERT_EQ(Patch(patch), kDictionaryPatched);
      operations = faulty.OperationCount();
    }
    for (Fault kind : {Fault::Error, Fault::DiskFull, Fault::ShortWrite}) {
      for (bool persistent : {true, false}) {
        for (int n = 1; n <= operations; ++n) {
          SCOPED_TRACE(::testing::Message() << oldName << " -> " << newName << ", fault " << int(kind)
                                            << (persistent ? " from" : " at") << " operation " << n);
          for (const auto& name : Files()) std::filesystem::remove(dir_.File(name));
          dir_.Write(oldName, kOld);
          int32_t code;
          {
            faulty.Reset();
            faulty.FailAt(n, kind, persistent);
            platform::ScopedOverride<platform::FileSystem> use(faulty);
            code = Patch(patch);
          }
          const bool isNew = dir_.Exists(newName) && dir_.Read(newName) == kNew;
          const bool isOld = dir_.Exists(oldName) && dir_.Read(oldName) == kOld;
          EXPECT_TRUE(isNew || isOld);
          if (isNew) {
            EXPECT_EQ(code, kDictionaryPatched);
          } else {
            EXPECT_TRUE(code == kDictionaryNotPatched || code == kDictionaryUpdateFailed) << code;
          }
          if (oldName != newName && !isNew) {
            EXPECT_FALSE(dir_.Exists(newName));
          }

          const int32_t again = Patch(patch);
          EXPECT_EQ(again, isNew ? kDictionaryAlreadyNew : kDictionaryPatched);
          EXPECT_EQ(dir_.Read(newName), kNew);
        }
      }
    }
  }
}

class DictionaryPhaseTest : public DictionaryPatchTest {
 protected:
  std::u16string Updating(const std::string& name) {
    return FormatMessageText(276, kEnglish, {name});
  }
  const std::u16string ok_ = GetMessageText(kEnglish, 267);
  const std::u16string error_ = GetMessageText(kEnglish, 268);
};

// The status lines use the catalogue's messages 276, 267 and 268.
TEST_F(DictionaryPhaseTest, MessagesAreTheCataloguesTexts) {
  const std::u16string updating = Updating("test.sg");
  EXPECT_EQ(updating.substr(0, 5), u"File ");
  EXPECT_NE(updating.find(u"test.sg"), std::u16string::npos);
  EXPECT_NE(updating.find(u"is being updated"), std::u16string::npos);
  EXPECT_EQ(ok_.substr(0, 2), u"OK");
  EXPECT_EQ(error_.substr(0, 5), u"Error");
}

TEST_F(DictionaryPhaseTest, ShowsOneLinePerPatchAndTellsWhetherAnythingWasNotNew) {
  const struct {
    const char* why;
    const char* content;  // nullptr: no file
    bool someNotNew;
    bool success;
    bool runFails;  // only a found old dictionary whose update failed fails the run
  } cases[] = {
      {"already new", kNew.c_str(), false, true, false},
      {"old: updated", kOld.c_str(), true, true, false},
      {"missing", nullptr, true, false, false},
      {"unknown version", "apple\r\n", true, false, false},
      {"old, but its script is missing", kOld.c_str(), true, false, true},
  };
  const TPatchSlownikInfo patches[] = {TestPatch()};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    for (const auto& name : Files()) std::filesystem::remove(dir_.File(name));
    if (c.content) dir_.Write("test.sg", c.content);
    if (c.runFails)
      resources_.Remove("PSLTEST");
    else
      resources_.Add("PSLTEST", ScriptBytes(kOld, kNew));
    window_ = FakeWindow();
    EXPECT_EQ(DictionaryPhase(window_, 6, dir_.Path(), patches), c.someNotNew);
    EXPECT_EQ(window_.status, u"Start\n" + Updating("test.sg") + (c.success ? ok_ : error_));
    EXPECT_EQ(window_.runSucceeded, c.runFails ? std::optional<bool>(false) : std::nullopt);
    EXPECT_EQ(window_.timerSwitches, (std::vector<bool>{true, false}));
  }
}

TEST_F(DictionaryPhaseTest, TimerShowsThePercentageWhileTheScriptRuns) {
  dir_.Write("test.sg", kOld);
  const TPatchSlownikInfo patches[] = {TestPatch()};
  EXPECT_TRUE(DictionaryPhase(window_, 9, dir_.Dir(), patches));
  const std::u16string caption = u"Start\n" + Updating("test.sg");
  EXPECT_EQ(window_.caption, caption);
  ASSERT_FALSE(window_.ticks.empty());
  EXPECT_EQ(window_.ticks.back(), caption + u"100%");  // the turn before the move
  EXPECT_EQ(window_.status, caption + ok_);
}

TEST_F(DictionaryPhaseTest, PassesOverPatchesForOtherProducts) {
  dir_.Write("test.sg", kOld);
  const TPatchSlownikInfo patches[] = {TestPatch()};
  for (int appId : {4, 0, 255, 256, 262, -1}) {  // 262 = 6 + 256: no wrap-around
    SCOPED_TRACE(appId);
    EXPECT_FALSE(DictionaryPhase(window_, appId, dir_.Dir(), patches));
    EXPECT_EQ(window_.status, u"Start\n");
    EXPECT_TRUE(window_.timerSwitches.empty());
  }
  EXPECT_EQ(dir_.Read("test.sg"), kOld);
}

TEST_F(DictionaryPhaseTest, RunsPatchesInTableOrder) {
  dir_.Write("one.sg", kNew);
  dir_.Write("two.sg", kOld);
  const TPatchSlownikInfo patches[] = {TestPatch("one.sg", "one.sg"), TestPatch("none.sg", "none.sg"),
                                       TestPatch("two.sg", "two.sg")};
  EXPECT_TRUE(DictionaryPhase(window_, 6, dir_.Dir(), patches));
  EXPECT_EQ(window_.status,
            u"Start\n" + Updating("one.sg") + ok_ + Updating("none.sg") + error_ + Updating("two.sg") + ok_);
  EXPECT_EQ(dir_.Read("two.sg"), kNew);
}

TEST_F(DictionaryPhaseTest, ThisBuildPassesOverItsOnlyPatch) {
  ASSERT_EQ(DictionaryPatches().size(), 1u);
  EXPECT_FALSE(DictionaryPhase(window_, 4, dir_.Dir()));
  EXPECT_EQ(window_.status, u"Start\n");
}

}  // namespace
}  // namespace upd
