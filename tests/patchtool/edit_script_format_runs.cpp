// patchtool apply and diff against a model of the edit script and of the line
// channel written here from their descriptions alone: scripts this file writes
// must apply with the tool to the bytes the model gives, and scripts the tool
// writes must turn the old file into the new one under the model.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "patchtool/run_patchtool.h"
#include "support/temp_dir.h"

namespace upd::testing {
namespace {

using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------
// The model

// The old file as the updater's line channel hands it out: reads of 40000
// bytes, each extended a byte at a time until it ends on a line feed (at most
// 400000 bytes); a line ends at LF, or at CR together with every LF right
// after it; bytes left at the end of a read without a terminator are a line.
class ChannelModel {
 public:
  explicit ChannelModel(const std::string& file) : file_(file) {}

  bool AtEnd() const { return at_ >= buffer_.size() && read_ >= file_.size(); }

  std::string ReadLine() {
    if (at_ >= buffer_.size()) Refill();
    std::string line;
    while (at_ < buffer_.size() && buffer_[at_] != '\r' && buffer_[at_] != '\n') line += buffer_[at_++];
    if (at_ < buffer_.size() && buffer_[at_++] == '\r')
      while (at_ < buffer_.size() && buffer_[at_] == '\n') ++at_;
    return line;
  }

 private:
  void Refill() {
    const size_t n = std::min<size_t>(40000, file_.size() - read_);
    buffer_ = file_.substr(read_, n);
    read_ += n;
    while (!buffer_.empty() && buffer_.size() < 400000 && buffer_.back() != '\n' && read_ < file_.size())
      buffer_ += file_[read_++];
    at_ = 0;
  }

  const std::string& file_;
  size_t read_ = 0;  // bytes of the file read so far
  std::string buffer_;
  size_t at_ = 0;  // next byte of buffer_
};

// The lines of a script's text: CR, LF and CR LF each end one line, a last
// line without terminator counts, and 0x00 ends the text.
Lines ScriptLines(std::string text) {
  text = text.substr(0, text.find('\0'));
  Lines lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      line += text[i];
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Decimal digits with an optional sign, as a signed 32-bit value.
std::optional<int64_t> Number(const std::string& line) {
  size_t at = line.size() > 0 && (line[0] == '+' || line[0] == '-') ? 1 : 0;
  if (at == line.size() || line.size() - at > 10) return std::nullopt;
  int64_t value = 0;
  for (; at < line.size(); ++at) {
    if (line[at] < '0' || line[at] > '9') return std::nullopt;
    value = value * 10 + (line[at] - '0');
  }
  if (line[0] == '-') value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return value;
}

// The new file the script makes of `old`, or nothing when the script is
// malformed (a number line that is no number, a record cut short).
std::optional<std::string> ModelApply(const std::string& old, const Lines& script) {
  ChannelModel in(old);
  std::string out;
  auto copy = [&] { out += in.ReadLine() + "\r\n"; };
  int64_t out_line = 0;
  for (size_t i = 0; i < script.size();) {
    if (i + 1 == script.size()) return std::nullopt;
    const std::string& command = script[i];
    const std::optional<int64_t> n = Number(script[i + 1]);
    if (!n) return std::nullopt;
    i += 2;
    for (; out_line < *n; ++out_line)
      if (!in.AtEnd()) copy();
    if (command == "DOD") {
      if (i == script.size()) return std::nullopt;
      out += script[i++] + "\r\n";
      ++out_line;
    } else if (command == "USUN" && !in.AtEnd()) {
      in.ReadLine();
    }
  }
  while (!in.AtEnd()) copy();
  return out;
}

// ---------------------------------------------------------------------------
// Texts

std::string Terminated(const Lines& lines, const std::string& eol) {
  std::string text;
  for (const auto& line : lines) text += line + eol;
  return text;
}

std::string CrLf(const Lines& lines) { return Terminated(lines, "\r\n"); }

// The same script lines with the line ends a script may have.
struct ScriptStyle {
  const char* name;
  std::string (*text)(const Lines&);
  bool loses_an_empty_last_line = false;
};
const ScriptStyle kScriptStyles[] = {
    {"CR LF", [](const Lines& l) { return Terminated(l, "\r\n"); }},
    {"LF", [](const Lines& l) { return Terminated(l, "\n"); }},
    {"CR", [](const Lines& l) { return Terminated(l, "\r"); }},
    {"CR LF, LF and CR in turn",
     [](const Lines& l) {
       static const char* const eols[] = {"\r\n", "\n", "\r"};
       std::string text;
       for (size_t i = 0; i < l.size(); ++i) text += l[i] + eols[i % 3];
       return text;
     }},
    {"no terminator after the last line",
     [](const Lines& l) {
       std::string text = Terminated(l, "\r\n");
       return text.substr(0, text.size() >= 2 ? text.size() - 2 : 0);
     },
     true},
};

// Lines of words, some repeated, some empty.
Lines Words(size_t count, uint32_t seed) {
  static const char* const words[] = {"abak", "babka", "cebula", "dom", "", "ekran", "abak", "zebra"};
  std::mt19937 rng(seed);
  Lines lines;
  for (size_t i = 0; i < count; ++i) lines.push_back(std::string(words[rng() % 8]) + std::to_string(rng() % 50));
  return lines;
}

// ---------------------------------------------------------------------------
// Runs of the tool

struct FileRun {
  ToolResult result;
  std::optional<std::string> output;  // the file the tool wrote, if any
  bool has_partial = false;
};

// `patchtool apply` on `old` and `script`; OUT holds `earlier` before the run,
// or does not exist when that is not given.
FileRun Apply(const TempDir& dir, const std::string& old, const std::string& script,
              const std::string* earlier = nullptr) {
  dir.Write("old", old);
  dir.Write("script", script);
  std::filesystem::remove(dir.File("out"));
  if (earlier) dir.Write("out", *earlier);
  FileRun run;
  run.result = RunPatchtool({"apply", dir.File("old"), dir.File("script"), dir.File("out")}, dir);
  if (dir.Exists("out")) run.output = dir.Read("out");
  run.has_partial = dir.Exists("out.partial");
  return run;
}

FileRun Diff(const TempDir& dir, const std::string& old, const std::string& updated) {
  dir.Write("old", old);
  dir.Write("new", updated);
  std::filesystem::remove(dir.File("script"));
  FileRun run;
  run.result = RunPatchtool({"diff", dir.File("old"), dir.File("new"), dir.File("script")}, dir);
  if (dir.Exists("script")) run.output = dir.Read("script");
  run.has_partial = dir.Exists("script.partial");
  return run;
}

std::string Shown(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "(none)"; }

// ---------------------------------------------------------------------------
// patchtool apply

TEST(PatchtoolApply, ScriptsInEveryLineEndStyle) {
  const struct {
    const char* why;
    std::string old;
    Lines script;
    std::string expected;
  } cases[] = {
      {"no script: the old file is copied with CR LF after every line", "a\nb\r\nc\rd\r\n\ne", {},
       "a\r\nb\r\nc\r\nd\r\ne\r\n"},
      {"delete 1, add 1: the second line replaced", "A\nB\nC\nD\n", {"USUN", "1", "DOD", "1", "X"},
       "A\r\nX\r\nC\r\nD\r\n"},
      {"add 1, delete 2: the same edit", "A\nB\nC\nD\n", {"DOD", "1", "X", "USUN", "2"}, "A\r\nX\r\nC\r\nD\r\n"},
      {"two deletions at one place", "A\r\nB\r\nC\r\nD\r\n", {"USUN", "1", "USUN", "1"}, "A\r\nD\r\n"},
      {"additions at the start and in a row", "A\rB\r", {"DOD", "0", "S", "DOD", "1", "T", "DOD", "3", "U"},
       "S\r\nT\r\nA\r\nU\r\nB\r\n"},
      {"an addition past the end of the old file invents no lines", "A\nB", {"DOD", "5", "X"}, "A\r\nB\r\nX\r\n"},
      {"a deletion at the end of the old file drops nothing", "A\n", {"USUN", "1", "USUN", "7"}, "A\r\n"},
      {"a number below the lines passed acts at the current place", "A\nB\nC\n", {"DOD", "2", "X", "DOD", "0", "Y"},
       "A\r\nB\r\nX\r\nY\r\nC\r\n"},
      {"numbers with a sign", "A\nB\nC\n", {"USUN", "+1", "DOD", "-3", "X"}, "A\r\nX\r\nC\r\n"},
      {"'dod', 'DOD ' and 'USUNX' are no commands: they only copy up to their number", "A\nB\nC\n",
       {"dod", "1", "DOD ", "2", "USUNX", "2", "DOD", "2", "X"}, "A\r\nB\r\nX\r\nC\r\n"},
      {"an added empty line", "A\nB\n", {"DOD", "1", "", "DOD", "2", "Z"}, "A\r\n\r\nZ\r\nB\r\n"},
      {"added lines that read as commands and numbers", "A\n", {"DOD", "0", "USUN", "DOD", "1", "5"},
       "USUN\r\n5\r\nA\r\n"},
      {"CR LF LF is one line end; LF LF and CR CR LF hold an empty line", "a\r\n\nb\n\nc\r\r\nd", {"USUN", "5"},
       "a\r\nb\r\n\r\nc\r\n\r\n"},
      {"an empty old file", "", {"DOD", "0", "X", "USUN", "1"}, "X\r\n"},
      {"a line holding 0x00 is copied whole", std::string("a\0b\nc", 5), {"DOD", "2", "X"},
       std::string("a\0b\r\nc\r\nX\r\n", 11)},
  };
  TempDir dir;
  for (const auto& c : cases) {
    for (const auto& style : kScriptStyles) {
      if (style.loses_an_empty_last_line && !c.script.empty() && c.script.back().empty()) continue;
      SCOPED_TRACE(std::string(c.why) + "; script lines end with " + style.name);
      const std::string script = style.text(c.script);
      ASSERT_EQ(ModelApply(c.old, ScriptLines(script)), c.expected);  // the model agrees with the row
      const FileRun run = Apply(dir, c.old, script);
      EXPECT_EQ(run.result.status, 0) << run.result.err;
      EXPECT_EQ(run.output, c.expected) << Shown(run.output);
      EXPECT_FALSE(run.has_partial);
    }
  }
}

TEST(PatchtoolApply, ScriptTextEndsAtAZeroByte) {
  TempDir dir;
  const FileRun run = Apply(dir, "A\nB\n", std::string("USUN\r\n0\0DOD\r\n0\r\nX\r\n", 19));
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(run.output, "B\r\n");
}

// Old files whose lines meet the ends of the channel's reads.
struct ReadBoundary {
  const char* why;
  std::string old;
  std::string check;  // what the model's copy must hold for the case to be the one named
};

std::vector<ReadBoundary> ReadBoundaries() {
  std::vector<ReadBoundary> cases;
  // The first read of 40000 bytes ends on the first LF of a CR LF LF: the
  // second LF starts the next read, where it ends an empty line.
  std::string crlflf;
  for (int i = 0; crlflf.size() < 39000; ++i) crlflf += "line " + std::to_string(i) + "\r\n\n";
  crlflf += std::string(40000 - 2 - crlflf.size(), 'w') + "\r\n\nafter\r\n\n";
  cases.push_back({"CR LF LF across the end of a read", crlflf, "w\r\n\r\nafter\r\n"});
  // With CR alone no read ends on a line feed: each fills the 400000 bytes,
  // and the line across the end is returned in two pieces.
  std::string cr;
  for (int i = 0; cr.size() < 399000; ++i) cr += "cr-only line " + std::to_string(i) + "\r";
  const size_t cut = 400000 - cr.size();
  cr += std::string(2000, 'k') + "\r";
  for (int i = 0; cr.size() < 450000; ++i) cr += "more " + std::to_string(i) + "\r";
  cases.push_back({"CR-only lines past 400000 bytes", cr,
                   "\r\n" + std::string(cut, 'k') + "\r\n" + std::string(2000 - cut, 'k') + "\r\nmore 0\r\n"});
  // A line of more than 400000 bytes before its LF.
  const std::string long_line = "start\n" + std::string(450000, 'q') + "\nend\n";
  cases.push_back({"a line of 450000 bytes", long_line,
                   std::string(399994, 'q') + "\r\n" + std::string(50006, 'q') + "\r\nend\r\n"});
  return cases;
}

TEST(PatchtoolApply, LinesAtTheEndsOfTheChannelsReads) {
  TempDir dir;
  for (const auto& c : ReadBoundaries()) {
    for (const Lines& script : {Lines{}, Lines{"DOD", "2", "X", "USUN", "3", "DOD", "9000", "Y"}}) {
      SCOPED_TRACE(std::string(c.why) + (script.empty() ? ", copied" : ", with edits"));
      const std::optional<std::string> expected = ModelApply(c.old, script);
      ASSERT_TRUE(expected);
      if (script.empty()) {
        ASSERT_NE(expected->find(c.check), std::string::npos);
      }
      const FileRun run = Apply(dir, c.old, CrLf(script));
      EXPECT_EQ(run.result.status, 0) << run.result.err;
      EXPECT_TRUE(run.output == expected) << (run.output ? run.output->size() : 0) << " bytes, expected "
                                          << expected->size();
    }
  }
}

TEST(PatchtoolApply, MalformedScriptsFailAndLeaveNoOutput) {
  const struct {
    const char* why;
    Lines script;
  } cases[] = {
      {"a number line that is no number", {"DOD", "1", "X", "USUN", "x1"}},
      {"a number beyond 32 bits", {"USUN", "4294967297"}},
      {"an add record without its text", {"USUN", "1", "DOD", "2"}},
      {"a record without its number", {"DOD", "1", "X", "USUN"}},
  };
  TempDir dir;
  const std::string old = "A\nB\nC\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string script = CrLf(c.script);
    ASSERT_FALSE(ModelApply(old, ScriptLines(script)));
    FileRun run = Apply(dir, old, script);
    EXPECT_NE(run.result.status, 0);
    EXPECT_NE(run.result.err.find(dir.File("script")), std::string::npos) << run.result.err;
    EXPECT_FALSE(run.output) << Shown(run.output);
    EXPECT_FALSE(run.has_partial);
    const std::string earlier = "from an earlier run";
    run = Apply(dir, old, script, &earlier);
    EXPECT_NE(run.result.status, 0);
    EXPECT_EQ(run.output, earlier);
    EXPECT_FALSE(run.has_partial);
  }
}

// ---------------------------------------------------------------------------
// patchtool diff

TEST(PatchtoolDiff, ScriptsTurnTheOldFileIntoTheNewOne) {
  const Lines abcd = {"A", "B", "C", "D"};
  const Lines many = Words(3000, 1);
  Lines edited = many;
  edited.erase(edited.begin() + 100, edited.begin() + 130);
  edited.insert(edited.begin() + 1000, {"nowa", "", "nowa"});
  edited[2000] = "zmieniona";
  edited.push_back("koniec");
  const struct {
    const char* why;
    std::string old;
    Lines updated;
  } cases[] = {
      {"identical", CrLf(abcd), abcd},
      {"insertions at the start, inside and at the end", CrLf(abcd), {"S", "A", "B", "M", "C", "D", "E"}},
      {"deletions at the start, inside and at the end", CrLf(abcd), {"B"}},
      {"changes at the start and at the end", CrLf(abcd), {"a", "B", "C", "d"}},
      {"every line different", CrLf(abcd), {"W", "X", "Y"}},
      {"repeated lines", CrLf({"A", "A", "A", "B", "A", "A"}), {"A", "A", "B", "A", "A", "A", "B"}},
      {"empty lines", CrLf({"", "A", "", "", "B", ""}), {"A", "", "B", "", "", ""}},
      {"an empty old file", "", {"A", ""}},
      {"an empty new file", CrLf(abcd), {}},
      {"both empty", "", {}},
      {"old lines ended by LF, CR, CR LF, CR LF LF, LF LF, CR CR LF, and nothing",
       "a\nb\rc\r\nd\r\n\ne\n\nf\r\r\ng", {"a", "b", "c", "X", "d", "e", "", "f", "", "g"}},
      {"a line holding 0x00 kept", CrLf({"A", std::string("n\0l", 3), "B"}), {std::string("n\0l", 3), "C"}},
      {"lines that read as commands and numbers", CrLf(abcd), {"DOD", "A", "1", "USUN", "D", "-5"}},
      {"3000 lines, edited in four places", CrLf(many), edited},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string updated = CrLf(c.updated);
    const FileRun run = Diff(dir, c.old, updated);
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    ASSERT_TRUE(run.output);
    EXPECT_FALSE(run.has_partial);
    EXPECT_TRUE(ModelApply(c.old, ScriptLines(*run.output)) == updated) << "script:\n" << *run.output;
    if (c.old == updated) {
      EXPECT_EQ(*run.output, "");
    }
    const FileRun applied = Apply(dir, c.old, *run.output);
    EXPECT_TRUE(applied.output == updated) << Shown(applied.output);
  }
}

TEST(PatchtoolDiff, OldFilesReadAsTheChannelReadsThem) {
  TempDir dir;
  for (const auto& c : ReadBoundaries()) {
    SCOPED_TRACE(c.why);
    // The new file: the old one split as a script's text is (so a line the
    // channel cuts is whole again), with one line added.
    Lines lines = ScriptLines(c.old);
    lines.insert(lines.begin() + 3, "added");
    const std::string updated = CrLf(lines);
    const FileRun run = Diff(dir, c.old, updated);
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    ASSERT_TRUE(run.output);
    EXPECT_TRUE(ModelApply(c.old, ScriptLines(*run.output)) == updated) << "script of " << run.output->size()
                                                                        << " bytes";
    const FileRun applied = Apply(dir, c.old, *run.output);
    EXPECT_TRUE(applied.output == updated) << (applied.output ? applied.output->size() : 0) << " bytes";
  }
}

TEST(PatchtoolDiff, RefusesNewFilesNoScriptCanMake) {
  const struct {
    const char* why;
    std::string updated;
  } cases[] = {
      {"lines ended by LF", "A\nB\n"},
      {"a last line without CR LF", "A\r\nB"},
      {"a CR inside a line", "A\r\nB\rC\r\n"},
      {"a line to add holding 0x00", std::string("A\r\nn\0l\r\n", 8)},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const FileRun run = Diff(dir, "A\r\n", c.updated);
    EXPECT_NE(run.result.status, 0);
    EXPECT_NE(run.result.err.find(dir.File("new")), std::string::npos) << run.result.err;
    EXPECT_FALSE(run.output) << Shown(run.output);
    EXPECT_FALSE(run.has_partial);
  }
}

}  // namespace
}  // namespace upd::testing
