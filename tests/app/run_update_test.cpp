// The update run end to end over the in-memory registry and real temporary
// folders, with the real identification, the real rebuild from this build's
// payloads and the sample product; a headless host records what the window
// would have shown.

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/product_identity.h"
#include "app/run_update.h"
#include "build_resources.h"
#include "engine/catalogue.h"
#include "engine/crc32.h"
#include "headless_host.h"
#include "i18n/code_pages.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "install/install_dir.h"
#include "payload/sample_product.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::HeadlessHost;
using testing::TempDir;

constexpr uint32_t kNewCrc = 0x65E3C03Eu;
const char* const kProductKey = "SOFTWARE\\Varsko\\RavOveze2";

std::string Slot(int slot) {
  auto bytes = MakeSampleProgram(slot);
  return std::string(bytes.begin(), bytes.end());
}

std::u16string Msg(int id, int language = kPolish) { return GetMessageText(language, id); }
std::u16string Fmt(int id, const std::string& arg, int language = kPolish) {
  return FormatMessageText(id, language, {arg});
}

class RunUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ScopedOverride<platform::PlainMessageBox> quiet(boxes_);
    InitProductIdentity(4);
    Assign(13, {33});
    RecordInstallDir(dir_.Path());
  }

  void Assign(int32_t patchKind, std::initializer_list<int> entries) {
    BuildConstants c;
    c.AppId = 4;
    c.PatchKind = patchKind;
    for (int e : entries) c.SelectedEntries.set(static_cast<size_t>(e));
    c.CurrentPatchNumber = 33;
    AssignBuildConstants(c);
  }

  void RecordInstallDir(const std::string& dir) {
    registry_.Clear();
    auto value = ScrambleInstallDir(4, dir, false);
    registry_.SetString(platform::RootKey::CurrentUser, kProductKey, value.name, value.contents);
  }

  // The installation directory as the run holds it: recorded without a
  // separator, the run appends a backslash.
  std::string Home() const { return dir_.Path() + "\\"; }
  std::string Target() const { return Home() + "DerodUz.exe"; }

  // What the status text showed just before the verdict replaced it.
  std::u16string LastLineBeforeVerdict(const HeadlessHost& host) const {
    return host.status_history.size() >= 2 ? host.status_history[host.status_history.size() - 2] : u"";
  }

  // The product's name and version are catalogue texts, read with the
  // language's map whatever the system's code page.
  std::u16string Intro(int language = kPolish) {
    return FormatMessageWide(271, language, {WidenForLanguage(AnnouncedName(language), language, false),
                                             WidenForLanguage(AnnouncedVersion(), language, false)});
  }

  TempDir dir_;
  platform::MemoryRegistry registry_;
  platform::ScopedOverride<platform::Registry> use_registry_{registry_};
  platform::RecordingMessageBox boxes_;
  ScopedStartupFacts facts_{true, kPolish};
  // This build's payloads, as the running updater finds them.
  platform::ScopedOverride<platform::ResourceSource> use_resources_{build::EmbeddedResources()};
};

TEST_F(RunUpdateTest, CurrentFileNeedsNothing) {
  dir_.Write("DerodUz.exe", Slot(5));
  HeadlessHost host;
  RunUpdate(host);

  EXPECT_EQ(LastLineBeforeVerdict(host), Intro() + Fmt(276, "DerodUz.exe") + Msg(267));
  EXPECT_EQ(host.StatusText(), Msg(274));
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(host.focus_finish_calls, 1);
  EXPECT_EQ(host.button_states, (std::vector<bool>{false, true}));
  EXPECT_TRUE(host.RunSucceeded());
  EXPECT_TRUE(host.RunFinished());
}

// Every older version is rebuilt to the new one.
class OlderSlot : public RunUpdateTest, public ::testing::WithParamInterface<int> {};

TEST_P(OlderSlot, IsRebuiltToTheNewVersion) {
  dir_.Write("DerodUz.exe", Slot(GetParam()));
  HeadlessHost host;
  RunUpdate(host);

  EXPECT_EQ(FileCrc32(Target()), kNewCrc);
  EXPECT_EQ(dir_.List(), std::vector<std::string>{"DerodUz.exe"});  // no temporary file left
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro() + Fmt(276, "DerodUz.exe") + Msg(267));
  EXPECT_EQ(host.StatusText(), Msg(272));
  EXPECT_EQ(host.focus_finish_calls, 1);
  EXPECT_TRUE(host.dialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(Slots1To4, OlderSlot, ::testing::Values(1, 2, 3, 4));

TEST_F(RunUpdateTest, MissingFileIsReportedAndNotCreated) {
  HeadlessHost host;
  RunUpdate(host);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0], Fmt(278, Target()));
  EXPECT_FALSE(dir_.Exists("DerodUz.exe"));
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro() + Fmt(276, "DerodUz.exe") + Msg(268));
  EXPECT_EQ(host.StatusText(), Msg(273));
  EXPECT_EQ(host.focus_finish_calls, 0);
  EXPECT_FALSE(host.RunSucceeded());
}

TEST_F(RunUpdateTest, UnknownVersionIsReportedAndLeftAlone) {
  std::string odd = Slot(4);
  odd[1000] ^= 1;  // slot 4's size with another checksum
  dir_.Write("DerodUz.exe", odd);
  HeadlessHost host;
  RunUpdate(host);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0], Fmt(279, Target()));
  EXPECT_EQ(dir_.Read("DerodUz.exe"), odd);
  EXPECT_EQ(host.StatusText(), Msg(273));
}

TEST_F(RunUpdateTest, UnreadableFileIsReported) {
  dir_.Write("DerodUz.exe", "x");
  RunServices services = RunServices::Defaults();
  services.identifyFileVersion = [](int, const std::string&) { return 3; };
  HeadlessHost host;
  RunUpdate(host, services);

  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0], Fmt(280, Target()));
  EXPECT_EQ(host.StatusText(), Msg(273));
}

TEST_F(RunUpdateTest, FailedRebuildCountsAsUpdateNeededAndError) {
  dir_.Write("DerodUz.exe", Slot(1));
  RunServices services = RunServices::Defaults();
  services.rebuildFile = [](int, const std::string&) { return false; };
  HeadlessHost host;
  RunUpdate(host, services);

  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro() + Fmt(276, "DerodUz.exe") + Msg(268));
  EXPECT_EQ(host.StatusText(), Msg(273));
}

TEST_F(RunUpdateTest, MissingFileOfANewEntryIsCreatedWithoutDialog) {
  Assign(13, {32});  // an entry whose only version is the new one
  RunServices services = RunServices::Defaults();
  std::vector<std::string> rebuilt;
  services.rebuildFile = [&](int entry, const std::string& path) {
    rebuilt.push_back(std::to_string(entry) + " " + path);
    return true;
  };
  HeadlessHost host;
  RunUpdate(host, services);

  std::string name(PatchCatalogue(32).FileName);
  EXPECT_EQ(rebuilt, std::vector<std::string>{"32 " + Home() + name});
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(host.StatusText(), Msg(272));
}

TEST_F(RunUpdateTest, WordTemplatesAreAlsoLookedForInStartupFolders) {
  Assign(13, {29});
  TempDir startupA, startupB;
  std::string name(PatchCatalogue(29).FileName);
  dir_.Write(name, "main copy");
  startupA.Write(name, "startup copy");  // startupB holds none: that is in order
  RunServices services = RunServices::Defaults();
  services.listWordStartupDirs = [&](std::vector<std::string>& lines) {
    lines = {"Microsoft Word XP=" + startupA.Path(), "Microsoft Word 2003=" + startupB.Dir()};
    return 2;
  };
  std::vector<std::string> identified;
  services.identifyFileVersion = [&](int, const std::string& path) {
    identified.push_back(path);
    return path.rfind(Home(), 0) == 0 ? 0 : 2;  // current at home, unknown in the startup folder
  };
  HeadlessHost host;
  RunUpdate(host, services);

  EXPECT_EQ(identified, (std::vector<std::string>{Home() + name, startupA.Path() + "\\" + name}));
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0], Fmt(279, startupA.Path() + "\\" + name));
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro() + Fmt(276, name) + Msg(267));
  EXPECT_EQ(host.StatusText(), Msg(274));
}

TEST_F(RunUpdateTest, NoInstallationDirectory) {
  registry_.Clear();
  HeadlessHost host;
  RunUpdate(host);

  EXPECT_EQ(host.pick_calls, 0);  // only PatchKind 4 offers the file dialog
  EXPECT_EQ(host.dialogs, std::vector<std::u16string>{Msg(277)});
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro());
  EXPECT_EQ(host.StatusText(), Msg(273));
}

TEST_F(RunUpdateTest, PatchKind4LetsTheUserPickTheProgramFile) {
  Assign(4, {33});
  registry_.Clear();
  dir_.Write("DerodUz.exe", Slot(5));

  HeadlessHost cancelled;
  RunUpdate(cancelled);
  EXPECT_EQ(cancelled.pick_calls, 1);
  EXPECT_EQ(cancelled.dialogs, std::vector<std::u16string>{Msg(277)});
  EXPECT_EQ(cancelled.StatusText(), Msg(273));

  HeadlessHost picked;
  picked.pick_answer = dir_.File("AnyName.exe");  // the folder counts, not the name
  RunUpdate(picked);
  EXPECT_TRUE(picked.dialogs.empty());
  EXPECT_EQ(picked.StatusText(), Msg(274));
}

TEST_F(RunUpdateTest, EmptySelectionEndsWithNothingToDo) {
  Assign(13, {});
  HeadlessHost host;
  RunUpdate(host);
  EXPECT_EQ(LastLineBeforeVerdict(host), Intro());
  EXPECT_EQ(host.StatusText(), Msg(274));
}

// The product's name is a catalogue text in code page 1250: on a system with
// another code page it must still read with its Polish letters.
TEST_F(RunUpdateTest, IntroNamesTheProductWithItsOwnLettersOnAnySystem) {
  platform::PortableSystemInfo western;
  western.SetAnsiCodePage(kWindows1252);
  platform::ScopedOverride<platform::SystemInfo> use(western);
  HeadlessHost host(kPolish);
  RunUpdate(host);
  ASSERT_FALSE(host.status_history.empty());
  EXPECT_NE(host.status_history.front().find(u"Varsko T\u0142umacz niemiecko-polski 2.2"), std::u16string::npos);
}

TEST_F(RunUpdateTest, LanguageSwitchDuringTheRunDropsEarlierLines) {
  dir_.Write("DerodUz.exe", Slot(5));
  HeadlessHost host(kPolish);
  host.SwitchLanguageAt(2, kGerman);  // after the entry's progress line
  RunUpdate(host);

  EXPECT_EQ(LastLineBeforeVerdict(host), Intro(kGerman) + Msg(267, kGerman));
  EXPECT_EQ(host.StatusText(), Msg(274, kGerman));
}

TEST_F(RunUpdateTest, APhaseThatThrowsStillEndsWithAVerdict) {
  dir_.Write("DerodUz.exe", Slot(5));
  RunServices services = RunServices::Defaults();
  services.dictionaryPhase = [](RunHost&, const std::string&) -> bool { throw std::runtime_error("boom"); };
  HeadlessHost host;
  RunUpdate(host, services);

  EXPECT_EQ(host.button_states, (std::vector<bool>{false, true}));
  EXPECT_TRUE(host.RunFinished());
  EXPECT_FALSE(host.RunSucceeded());
  EXPECT_EQ(host.StatusText(), Msg(273));
}

TEST_F(RunUpdateTest, SecondRunAfterAnUpdateHasNothingToDo) {
  dir_.Write("DerodUz.exe", Slot(2));
  HeadlessHost first, second;
  RunUpdate(first);
  RunUpdate(second);
  EXPECT_EQ(first.StatusText(), Msg(272));
  EXPECT_EQ(second.StatusText(), Msg(274));
}

}  // namespace
}  // namespace upd
