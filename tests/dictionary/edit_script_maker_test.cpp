#include "dictionary/edit_script_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/edit_script.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::TempDir;

std::string CrLfText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Makes the script from the files' bytes, applies it to the old file and
// checks that the output is the new file, byte for byte.
EditScript RoundTrip(const TempDir& dir, const std::string& oldBytes, const std::string& newBytes) {
  dir.Write("old.txt", oldBytes);
  TextLines oldLines = ReadChannelLines(dir.File("old.txt"));
  TextLines newLines = SplitCrLfText(newBytes);
  EditScript script = MakeEditScript(oldLines.lines, newLines.lines);

  int32_t percent = 0;
  NoMessages pump;
  EXPECT_TRUE(ApplyEditScript(dir.File("old.txt"), dir.File("out.txt"), SplitScriptText(script.text), percent, pump));
  EXPECT_TRUE(dir.Read("out.txt") == newBytes) << "the applied script does not give the new file";
  return script;
}

TEST(MakeEditScript, TurnsTheOldFileIntoTheNewOne) {
  const struct {
    const char* why;
    std::string old, now;
    int64_t additions, deletions;
  } cases[] = {
      {"same lines: empty script", "a\r\nb\r\n", "a\r\nb\r\n", 0, 0},
      {"both empty", "", "", 0, 0},
      {"all new", "", "a\r\nb\r\n", 2, 0},
      {"all gone", "a\r\nb\r\n", "", 0, 2},
      {"one line changed", "a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", 1, 1},
      {"old terminators become CR LF without records", "a\nb\rc", "a\r\nb\r\nc\r\n", 0, 0},
      {"empty lines", "a\n\nb\n", "a\r\n\r\n\r\nb\r\n", 1, 0},
      {"a CR LF LF in the old file is one line end", "a\r\n\nb\r\n", "a\r\nb\r\n", 0, 0},
      {"an added empty last line", "a\r\n", "a\r\n\r\n", 1, 0},
      {"repeated lines", "x\r\nx\r\ny\r\nx\r\n", "x\r\ny\r\nx\r\nx\r\n", 1, 1},
      {"0x00 in a copied line", std::string("a\0b\r\nc\r\n", 8), std::string("a\0b\r\nd\r\n", 8), 1, 1},
      {"records at the start and the end", "a\r\nb\r\nc\r\n", "z\r\nb\r\ny\r\n", 2, 2},
      {"script keywords as text", "x\r\n", "DOD\r\n0\r\nUSUN\r\nx\r\n", 3, 0},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EditScript script = RoundTrip(dir, c.old, c.now);
    EXPECT_EQ(script.additions, c.additions);
    EXPECT_EQ(script.deletions, c.deletions);
  }
}

TEST(MakeEditScript, LinesCutByTheChannelAreReplacedWhole) {
  TempDir dir;
  const std::string longLine(450000, 'l');  // the channel hands it out in two pieces
  EditScript script = RoundTrip(dir, "a\r\n" + longLine + "\r\nb\r\n", "a\r\n" + longLine + "\r\nc\r\n");
  EXPECT_EQ(script.deletions, 3);
  EXPECT_EQ(script.additions, 2);
}

TEST(MakeEditScript, RefusesANewFileNoScriptCanProduce) {
  const struct {
    const char* why;
    std::string old, now;
    std::string message;
  } cases[] = {
      {"lone LF", "", "a\r\nb\nc\r\n", "line 2 of the new file holds a CR or LF"},
      {"lone CR", "", "a\rb\r\n", "line 1 of the new file holds a CR or LF"},
      {"CR CR LF", "", "a\r\r\n", "line 1 of the new file holds a CR or LF"},
      {"no final CR LF", "a\r\n", "a\r\nb", "line 2 of the new file does not end in CR LF"},
      {"0x00 in a new line", "a\r\n", std::string("a\r\nb\0c\r\n", 8), "line 2 of the new file holds a CR, LF or 0x00"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    dir.Write("old.txt", c.old);
    try {
      TextLines oldLines = ReadChannelLines(dir.File("old.txt"));
      TextLines newLines = SplitCrLfText(c.now);
      MakeEditScript(oldLines.lines, newLines.lines);
      ADD_FAILURE() << "no error";
    } catch (const EditScriptError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

// Sorted distinct lines, as in a dictionary: the script is minimal, one
// record per line deleted or added.
TEST(MakeEditScript, DictionaryEditsGiveMinimalScripts) {
  TempDir dir;
  for (unsigned seed = 1; seed <= 5; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    std::set<std::string> oldSet, newSet;
    for (int i = 0; i < 3000; ++i) oldSet.insert("word" + std::to_string(rng() % 100000) + "\tsłowo");
    newSet = oldSet;
    int64_t deleted = 0, added = 0;
    for (int i = 0; i < 200; ++i) {
      auto it = std::next(newSet.begin(), rng() % newSet.size());
      if (oldSet.count(*it)) ++deleted;
      newSet.erase(it);
      if (newSet.insert("word" + std::to_string(rng() % 100000) + "\tnowe").second) ++added;
    }
    std::vector<std::string> oldLines(oldSet.begin(), oldSet.end()), newLines(newSet.begin(), newSet.end());
    int64_t common = 0;
    for (const auto& line : newLines) common += oldSet.count(line);
    EditScript script = RoundTrip(dir, CrLfText(oldLines), CrLfText(newLines));
    EXPECT_EQ(script.deletions, static_cast<int64_t>(oldLines.size()) - common);
    EXPECT_EQ(script.additions, static_cast<int64_t>(newLines.size()) - common);
  }
}

// Random edits over few distinct lines (the Myers path) and over mixed lines:
// whatever the alignment, the script gives the new file.
TEST(MakeEditScript, RandomEditsRoundTrip) {
  TempDir dir;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const int alphabet = seed % 2 ? 4 : 1000;
    auto line = [&] {
      std::string text = "L";
      return text += std::to_string(rng() % alphabet);
    };
    std::vector<std::string> oldLines;
    for (int i = 0, n = rng() % 300; i < n; ++i) oldLines.push_back(line());
    std::vector<std::string> newLines = oldLines;
    for (int e = 0, edits = rng() % 40; e < edits; ++e) {
      size_t at = newLines.empty() ? 0 : rng() % (newLines.size() + 1);
      if (rng() % 2 && at < newLines.size())
        newLines.erase(newLines.begin() + at);
      else
        newLines.insert(newLines.begin() + at, line());
    }
    RoundTrip(dir, CrLfText(oldLines), CrLfText(newLines));
  }
}

// A long stretch with nothing unique and more edits than the Myers search
// allows is replaced whole, and the script still gives the new file.
TEST(MakeEditScript, CostlyStretchesAreReplacedWhole) {
  TempDir dir;
  std::mt19937 rng(7);
  std::vector<std::string> oldLines, newLines;
  for (int i = 0; i < 6000; ++i) oldLines.push_back(rng() % 2 ? "a" : "b");
  for (int i = 0; i < 6000; ++i) newLines.push_back(rng() % 2 ? "a" : "b");
  RoundTrip(dir, CrLfText(oldLines), CrLfText(newLines));
}

}  // namespace
}  // namespace upd
