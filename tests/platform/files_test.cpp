// The file and registry seams: the portable layer on Linux and the Win32 layer
// under Wine run the same cases.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using platform::Files;
using testing::TempDir;

std::string ReadAll(const std::string& path) {
  auto in = Files().OpenRead(path);
  if (!in) return "<cannot open>";
  std::string out;
  char buffer[7];  // small on purpose: several reads per file
  for (;;) {
    auto got = in->Read(buffer, sizeof buffer);
    if (!got) return "<read error>";
    if (*got == 0) return out;
    out.append(buffer, *got);
  }
}

TEST(FileSeam, CreateWriteReadAndSize) {
  TempDir dir;
  auto out = Files().CreateTruncate(dir.File("a.bin"));
  ASSERT_TRUE(out);
  ASSERT_TRUE(out->Write("hello, world", 12));
  ASSERT_TRUE(out->Flush());
  ASSERT_TRUE(out->Close());
  EXPECT_EQ(ReadAll(dir.File("a.bin")), "hello, world");

  auto in = Files().OpenRead(dir.File("a.bin"));
  ASSERT_TRUE(in);
  EXPECT_EQ(in->Size(), 12);
  ASSERT_TRUE(in->Seek(7));
  char c = 0;
  EXPECT_EQ(in->Read(&c, 1), 1u);
  EXPECT_EQ(c, 'w');
  EXPECT_EQ(in->Position(), 8);
}

TEST(FileSeam, CreateTruncatesAnExistingFile) {
  TempDir dir;
  dir.Write("a.bin", "a long old content");
  auto out = Files().CreateTruncate(dir.File("a.bin"));
  ASSERT_TRUE(out && out->Write("new", 3) && out->Close());
  EXPECT_EQ(dir.Read("a.bin"), "new");
}

TEST(FileSeam, ExistenceTellsFilesFromDirectories) {
  TempDir dir;
  dir.Write("file", "x");
  EXPECT_TRUE(Files().FileExists(dir.File("file")));
  EXPECT_FALSE(Files().DirectoryExists(dir.File("file")));
  EXPECT_TRUE(Files().DirectoryExists(dir.Path()));
  EXPECT_FALSE(Files().FileExists(dir.Path()));
  EXPECT_FALSE(Files().FileExists(dir.File("missing")));
  EXPECT_FALSE(Files().FileExists(""));
  EXPECT_EQ(Files().OpenRead(dir.File("missing")), nullptr);
  EXPECT_EQ(Files().OpenRead(dir.Path()), nullptr);
}

TEST(FileSeam, RenameRefusesAnExistingTargetReplaceDoesNot) {
  TempDir dir;
  dir.Write("from", "new");
  dir.Write("to", "old");
  EXPECT_FALSE(Files().Rename(dir.File("from"), dir.File("to")));
  EXPECT_EQ(dir.Read("to"), "old");
  EXPECT_TRUE(Files().ReplaceFile(dir.File("from"), dir.File("to")));
  EXPECT_EQ(dir.Read("to"), "new");
  EXPECT_FALSE(dir.Exists("from"));
  EXPECT_TRUE(Files().Rename(dir.File("to"), dir.File("other")));
  EXPECT_TRUE(Files().Delete(dir.File("other")));
  EXPECT_FALSE(Files().Delete(dir.File("other")));
  EXPECT_FALSE(Files().LastErrorText().empty());
}

TEST(FileSeam, ReplaceRefusesATargetMarkedReadOnly) {
  // As on Windows, even for an administrator (or root, here).
  TempDir dir;
  dir.Write("from", "new");
  dir.Write("to", "old");
  namespace fs = std::filesystem;
  fs::permissions(dir.File("to"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(Files().ReplaceFile(dir.File("from"), dir.File("to")));
  EXPECT_EQ(dir.Read("to"), "old");
  EXPECT_EQ(dir.Read("from"), "new");
}

TEST(FileSeam, BackslashSeparatedPathsWork) {
  TempDir dir;
  dir.Write("x.txt", "abc");
  std::string path = dir.Path() + "\\x.txt";
  EXPECT_TRUE(Files().FileExists(path));
  EXPECT_EQ(ReadAll(path), "abc");
}

TEST(FaultInjection, FailsTheNthOperationOnceOrFromThereOn) {
  TempDir dir;
  testing::FaultInjectingFileSystem faulty;
  platform::ScopedOverride<platform::FileSystem> use(faulty);

  faulty.FailAt(2, testing::Fault::ShortWrite);
  auto out = Files().CreateTruncate(dir.File("f"));  // operation 1
  ASSERT_TRUE(out);
  EXPECT_FALSE(out->Write("abcdef", 6));  // operation 2: half reaches the disk
  EXPECT_TRUE(out->Write("gh", 2));       // operation 3: a transient fault is over
  EXPECT_TRUE(out->Close());
  EXPECT_EQ(dir.Read("f"), "abcgh");

  faulty.Reset();
  faulty.FailAt(1, testing::Fault::Error, /*persistent=*/true);
  EXPECT_EQ(Files().OpenRead(dir.File("f")), nullptr);
  EXPECT_FALSE(Files().Delete(dir.File("f")));
  EXPECT_TRUE(dir.Exists("f"));
  EXPECT_EQ(faulty.FaultsFired(), 2);
}

TEST(MemoryRegistry, NamesIgnoreCaseAndTypesAreChecked) {
  platform::MemoryRegistry reg;
  reg.SetString(platform::RootKey::CurrentUser, "SOFTWARE\\Vendor\\App", "Dir", "C:\\Prog");
  reg.SetDword(platform::RootKey::CurrentUser, "SOFTWARE\\Vendor\\App", "Flag", 7);
  platform::ScopedOverride<platform::Registry> use(reg);

  EXPECT_EQ(platform::Reg().OpenKey(platform::RootKey::LocalMachine, "software\\vendor\\app"), nullptr);
  auto key = platform::Reg().OpenKey(platform::RootKey::CurrentUser, "software\\vendor\\app");
  ASSERT_TRUE(key);
  std::string text;
  uint32_t number = 0;
  EXPECT_EQ(key->ReadString("dir", text), platform::RegRead::Ok);
  EXPECT_EQ(text, "C:\\Prog");
  EXPECT_EQ(key->ReadString("Flag", text), platform::RegRead::WrongType);
  EXPECT_EQ(key->ReadDword("Flag", number), platform::RegRead::Ok);
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(key->ReadDword("Other", number), platform::RegRead::Missing);
  EXPECT_FALSE(key->HasValue("Other"));
}

TEST(MemoryResources, FindsByName) {
  platform::MemoryResources resources;
  resources.Add("PAYLOAD", {1, 2, 3});
  platform::ScopedOverride<platform::ResourceSource> use(resources);
  auto found = platform::Resources().Find("PAYLOAD");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->size(), 3u);
  EXPECT_FALSE(platform::Resources().Find("OTHER"));
}

}  // namespace
}  // namespace upd
