// Free file names and the file-size probe, on disk and over a file layer that
// only answers which names exist.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "platform/files.h"
#include "support/temp_dir.h"
#include "util/file_helpers.h"

namespace upd {
namespace {

using testing::TempDir;

TEST(MakeUniqueFileName, SkipsTakenFilesButNotDirectories) {
  TempDir dir;
  const std::string d = dir.Dir();
  EXPECT_EQ(MakeUniqueFileName(d, "slupdate", "tmp", false), d + "slupdate.tmp");
  EXPECT_FALSE(dir.Exists("slupdate.tmp"));  // only chosen, not created

  dir.Write("slupdate.tmp", "x");
  dir.Write("slupdate1.tmp", "");
  EXPECT_EQ(MakeUniqueFileName(d, "slupdate", "tmp", false), d + "slupdate2.tmp");
  EXPECT_EQ(MakeUniqueFileName(d, "slupdate", "tmp", true), d + "slupdate[1].tmp");
  dir.Write("slupdate[1].tmp", "");
  EXPECT_EQ(MakeUniqueFileName(d, "slupdate", "tmp", true), d + "slupdate[2].tmp");
  EXPECT_EQ(MakeUniqueFileName(d, "other", "tmp", false), d + "other.tmp");

  TempDir withFolder;
  std::filesystem::create_directory(withFolder.File("slupdate.tmp"));
  EXPECT_EQ(MakeUniqueFileName(withFolder.Dir(), "slupdate", "tmp", false), withFolder.Dir() + "slupdate.tmp");
}

TEST(MakeUniqueFileName, EmptyNamesGiveNonameOrADotExtension) {
  TempDir dir;
  const std::string d = dir.Dir();
  EXPECT_EQ(MakeUniqueFileName(d, "", "tmp", false), d + ".tmp");  // an empty name with an extension stays empty
  dir.Write(".tmp", "");
  EXPECT_EQ(MakeUniqueFileName(d, "", "tmp", false), d + "1.tmp");
  EXPECT_EQ(MakeUniqueFileName(d, "", "", false), d + "noname");
  EXPECT_EQ(MakeUniqueFileName(d, "name", "", true), d + "name");  // no extension, no dot
}

// Moves into a folder for the life of the object and back out again.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~ScopedCurrentDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST(MakeUniqueFileName, NonameIsRelativeToTheCurrentDirectory) {
  TempDir dir;  // outlives the change of directory, so it can be removed afterwards
  ScopedCurrentDirectory inside(dir.Path());
  EXPECT_EQ(MakeUniqueFileName("", "", "", false), "noname");
  dir.Write("noname", "");
  EXPECT_EQ(MakeUniqueFileName("", "", "", false), "noname1");
  dir.Write("noname1", "");
  EXPECT_EQ(MakeUniqueFileName("", "", "", false), "noname2");
}

// A file layer in which the listed names exist; it records every name asked about.
class NameSetFileSystem : public platform::FileSystem {
 public:
  std::set<std::string> files;
  std::vector<std::string> asked;

  bool FileExists(const std::string& path) override {
    asked.push_back(path);
    return files.count(path) != 0;
  }
  bool DirectoryExists(const std::string&) override { return false; }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string&) override { return nullptr; }
  std::unique_ptr<platform::OutputFile> CreateTruncate(const std::string&) override { return nullptr; }
  bool Delete(const std::string&) override { return false; }
  bool Rename(const std::string&, const std::string&) override { return false; }
  bool ReplaceFile(const std::string&, const std::string&) override { return false; }
  std::string LastErrorText() override { return {}; }
};

TEST(MakeUniqueFileName, NumberedCandidatesAreShortenedTo255Characters) {
  const std::string dir = "C:\\Prog\\";  // 8 characters
  const std::string name(243, 'n');      // dir + name + ".tmp" is exactly 255
  NameSetFileSystem fs;
  platform::ScopedOverride<platform::FileSystem> use(fs);
  fs.files.insert(dir + name + ".tmp");
  for (int i = 1; i <= 9; ++i) fs.files.insert(dir + name.substr(0, 242) + std::to_string(i) + ".tmp");

  const std::string result = MakeUniqueFileName(dir, name, "tmp", false);
  EXPECT_EQ(result, dir + name.substr(0, 241) + "10.tmp");  // one more dropped for the two-digit tag
  EXPECT_EQ(result.size(), 255u);
  ASSERT_EQ(fs.asked.size(), 11u);
  EXPECT_EQ(fs.asked[0], dir + name + ".tmp");
  EXPECT_EQ(fs.asked[1], dir + name.substr(0, 242) + "1.tmp");
  for (const std::string& candidate : fs.asked) EXPECT_LE(candidate.size(), 255u);
}

TEST(MakeUniqueFileName, FirstCandidateIsUsedWhateverItsLength) {
  const std::string dir = "C:\\Prog\\";
  const std::string name(300, 'n');
  NameSetFileSystem fs;
  platform::ScopedOverride<platform::FileSystem> use(fs);
  EXPECT_EQ(MakeUniqueFileName(dir, name, "tmp", true), dir + name + ".tmp");

  fs.files.insert(dir + name + ".tmp");
  const std::string next = MakeUniqueFileName(dir, name, "tmp", true);
  EXPECT_EQ(next, dir + name.substr(0, 255 - 8 - 3 - 4) + "[1].tmp");
}

TEST(MakeUniqueFileName, ADirectoryTooLongForAnyNameStillEnds) {
  const std::string dir = std::string(260, 'd') + "\\";
  NameSetFileSystem fs;
  platform::ScopedOverride<platform::FileSystem> use(fs);
  fs.files.insert(dir + "slupdate.tmp");
  fs.files.insert(dir + "1.tmp");
  // The name shrinks to nothing; the counter alone goes on until a name is free.
  EXPECT_EQ(MakeUniqueFileName(dir, "slupdate", "tmp", false), dir + "2.tmp");
}

TEST(FileSizeOrMinus1, SizeOrMinusOne) {
  TempDir dir;
  dir.Write("empty.bin", "");
  dir.Write("five.bin", "12345");
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_EQ(FileSizeOrMinus1(dir.File("five.bin")), 5);
  EXPECT_EQ(FileSizeOrMinus1(dir.File("empty.bin")), 0);
  EXPECT_EQ(FileSizeOrMinus1(dir.File("missing.bin")), -1);
  EXPECT_EQ(FileSizeOrMinus1(dir.File("folder")), -1);
  EXPECT_EQ(FileSizeOrMinus1(""), -1);
}

// A file layer where a file exists but cannot be opened or measured, or whose
// size needs more than 32 bits.
class StubbornFileSystem : public NameSetFileSystem {
 public:
  struct Input : platform::InputFile {
    std::optional<int64_t> size;
    std::optional<int64_t> Size() override { return size; }
    std::optional<size_t> Read(void*, size_t) override { return std::nullopt; }
    bool Seek(int64_t) override { return false; }
    int64_t Position() const override { return 0; }
  };
  bool opens = true;
  std::optional<int64_t> size;
  bool throws = false;

  std::unique_ptr<platform::InputFile> OpenRead(const std::string&) override {
    if (throws) throw std::runtime_error("layer failed");
    if (!opens) return nullptr;
    auto in = std::make_unique<Input>();
    in->size = size;
    return in;
  }
};

TEST(FileSizeOrMinus1, UnreadableOrOversizedFilesGiveMinusOne) {
  const struct {
    bool opens;
    std::optional<int64_t> size;
    bool throws;
    int32_t expected;
  } cases[] = {
      {false, 10, false, -1},                  // locked: the open is refused
      {true, std::nullopt, false, -1},         // the size cannot be told
      {true, 0x7FFFFFFF, false, 0x7FFFFFFF},   // the largest size that fits
      {true, 0x80000000LL, false, -1},         // would wrap to a negative number
      {true, 0x100000005LL, false, -1},        // would wrap to 5
      {true, 10, true, -1},                    // the layer throws: never passed on
  };
  for (const auto& c : cases) {
    StubbornFileSystem fs;
    fs.files.insert("C:\\f.bin");
    fs.opens = c.opens;
    fs.size = c.size;
    fs.throws = c.throws;
    platform::ScopedOverride<platform::FileSystem> use(fs);
    EXPECT_EQ(FileSizeOrMinus1("C:\\f.bin"), c.expected) << "size " << c.size.value_or(-1);
  }
}

}  // namespace
}  // namespace upd
