#include "dictionary/edit_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/line_channel.h"
#include "platform/files.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::Fault;
using testing::FaultInjectingFileSystem;
using testing::TempDir;
using Lines = std::vector<std::string>;

// Records the percentage each time the window gets its turn.
class RecordingPump : public MessagePump {
 public:
  explicit RecordingPump(const int32_t& percent) : percent_(percent) {}
  void ProcessPendingMessages() override { seen.push_back(percent_); }
  std::vector<int32_t> seen;

 private:
  const int32_t& percent_;
};

struct Applied {
  bool ok;
  std::string output;
  std::vector<int32_t> percents;
};

Applied Apply(const TempDir& dir, const std::string& old, const Lines& script) {
  dir.Write("old.txt", old);
  int32_t percent = -1;
  RecordingPump pump(percent);
  bool ok = ApplyEditScript(dir.File("old.txt"), dir.File("new.txt"), script, percent, pump);
  return {ok, dir.Exists("new.txt") ? dir.Read("new.txt") : "<none>", pump.seen};
}

TEST(SplitScriptText, BreaksAtEachTerminatorAndStopsAtZero) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},                                      // no text, no lines
      {"a", {"a"}},                                  // a last line without terminator counts
      {"a\r\nb", {"a", "b"}},                        // CR LF is one break
      {"a\nb\n", {"a", "b"}},                        // a final terminator adds no empty line
      {"a\rb\r", {"a", "b"}},                        // lone CRs
      {"a\r\r\nb", {"a", "", "b"}},                  // CR, then CR LF
      {"a\n\rb", {"a", "", "b"}},                    // LF then CR: two breaks
      {"a\n\nb", {"a", "", "b"}},                    // empty lines count
      {"\r\n", {""}},                                // one empty line
      {"a\r\n\r\n", {"a", ""}},                      // ... also at the end
      {std::string("a\0b\nc", 5), {"a"}},            // 0x00 ends the text
      {std::string("a\n\0b", 4), {"a"}},             // ... right after a break
      {std::string("\0abc", 4), {}},                 // ... at the start
      {"DOD\r\n5\r\n\r\n", {"DOD", "5", ""}},        // an add record with an empty text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(SplitScriptText(c.text), c.lines);
  }
}

TEST(ParseScriptNumber, PlainDecimalWithOptionalSign) {
  const struct {
    std::string line;
    std::optional<int32_t> value;
  } cases[] = {
      {"0", 0},
      {"17", 17},
      {"007", 7},                        // leading zeros are digits
      {"+3", 3},
      {"-3", -3},
      {"2147483647", 2147483647},        // largest
      {"-2147483648", INT32_MIN},        // smallest
      {"2147483648", std::nullopt},      // beyond 32 bits
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},                // an empty line is no number
      {"-", std::nullopt},               // a sign alone
      {"+-1", std::nullopt},
      {" 1", std::nullopt},              // no blanks, before ...
      {"1 ", std::nullopt},              // ... or after
      {"0x10", std::nullopt},            // no other bases
      {"$10", std::nullopt},
      {"1e3", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ParseScriptNumber(c.line), c.value);
  }
}

TEST(ScriptPercent, RoundsHalvesToEven) {
  EXPECT_EQ(ScriptPercent(2, 8), 25);
  EXPECT_EQ(ScriptPercent(5, 8), 62);  // 62.5
  EXPECT_EQ(ScriptPercent(7, 8), 88);  // 87.5
  EXPECT_EQ(ScriptPercent(1, 200), 0);  // 0.5
  EXPECT_EQ(ScriptPercent(3, 200), 2);  // 1.5
  EXPECT_EQ(ScriptPercent(2, 3), 67);  // 66.67
  EXPECT_EQ(ScriptPercent(8, 8), 100);
  EXPECT_EQ(ScriptPercent(2000000000, 2000000000), 100);  // no overflow
}

const std::string kAbcd = "A\r\nB\r\nC\r\nD\r\n";

TEST(ApplyEditScript, AppliesRecords) {
  const struct {
    const char* why;
    std::string old;
    Lines script;
    std::string output;
  } cases[] = {
      {"delete then add", kAbcd, {"USUN", "1", "DOD", "1", "X"}, "A\r\nX\r\nC\r\nD\r\n"},
      {"add then delete", kAbcd, {"DOD", "1", "X", "USUN", "2"}, "A\r\nX\r\nC\r\nD\r\n"},
      {"two deletions at one place", kAbcd, {"USUN", "1", "USUN", "1"}, "A\r\nD\r\n"},
      {"add at the start", kAbcd, {"DOD", "0", "X"}, "X\r\nA\r\nB\r\nC\r\nD\r\n"},
      {"add at the end", kAbcd, {"DOD", "4", "X"}, "A\r\nB\r\nC\r\nD\r\nX\r\n"},
      {"N below the place acts at the place", kAbcd, {"DOD", "2", "X", "DOD", "0", "Y"},
       "A\r\nB\r\nX\r\nY\r\nC\r\nD\r\n"},
      {"N beyond the end invents no lines", "A\r\nB\r\n", {"DOD", "10", "Z"}, "A\r\nB\r\nZ\r\n"},
      {"N at the 32-bit limit", "A\r\nB\r\n", {"DOD", "2147483647", "X", "DOD", "2147483647", "Y"},
       "A\r\nB\r\nX\r\nY\r\n"},
      {"negative N acts at the place", kAbcd, {"USUN", "-5"}, "B\r\nC\r\nD\r\n"},
      {"delete past the end drops nothing", "A\r\nB\r\n", {"USUN", "2", "USUN", "7"}, "A\r\nB\r\n"},
      {"an empty text adds an empty line", kAbcd, {"DOD", "2", ""}, "A\r\nB\r\n\r\nC\r\nD\r\n"},
      {"lower-case command only copies", kAbcd, {"dod", "1", "DOD", "2", "X"}, "A\r\nB\r\nX\r\nC\r\nD\r\n"},
      {"trailing blank: not a command", kAbcd, {"DOD ", "3", "USUN ", "3"}, kAbcd},
      {"any other command only copies", kAbcd, {"XYZ", "2", "USUN", "2"}, "A\r\nB\r\nD\r\n"},
      {"empty script copies all", "A\nB\rC", {}, "A\r\nB\r\nC\r\n"},
      {"empty old file", "", {"USUN", "0", "DOD", "0", "X"}, "X\r\n"},
      {"the tail keeps its lines", "A\nB\n\nC\n", {"DOD", "1", "X"}, "A\r\nX\r\nB\r\n\r\nC\r\n"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Applied result = Apply(dir, c.old, c.script);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.output, c.output);
  }
}

TEST(ApplyEditScript, ReportsTheShareOfTheScriptOncePerRecord) {
  TempDir dir;
  // Records of 2, 3 and 3 lines: 2/8, 5/8 (62.5, to even) and 8/8.
  Applied result = Apply(dir, kAbcd, {"USUN", "0", "DOD", "0", "a", "DOD", "1", "b"});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.percents, (std::vector<int32_t>{25, 62, 100}));

  result = Apply(dir, kAbcd, {});
  EXPECT_TRUE(result.percents.empty());  // no records: no turns, percent stays 0
}

TEST(ApplyEditScript, FailsOnABrokenScriptAndLeavesTheOutputClosed) {
  const struct {
    const char* why;
    Lines script;
  } cases[] = {
      {"add without its text", {"DOD", "1"}},
      {"add without its number", {"DOD"}},
      {"delete without its number", {"USUN"}},
      {"cut short after good records", {"USUN", "1", "DOD", "2", "X", "DOD"}},
      {"number line is text", {"DOD", "one", "X"}},
      {"number with a blank", {"USUN", " 1"}},
      {"number beyond 32 bits", {"USUN", "4294967296"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Applied result = Apply(dir, kAbcd, c.script);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(LineChannelAtEnd());  // the channel is closed
    EXPECT_TRUE(platform::Files().Delete(dir.File("new.txt")));
  }
}

TEST(ApplyEditScript, FileErrorsGiveFalseAndNothingEscapes) {
  TempDir dir;
  std::string old;
  for (int i = 0; i < 30000; ++i) old += "line " + std::to_string(i) + "\r\n";
  dir.Write("old.txt", old);
  const Lines script = {"USUN", "5", "DOD", "100", "new", "DOD", "29000", "late"};
  int32_t percent = 0;
  RecordingPump pump(percent);

  EXPECT_FALSE(ApplyEditScript(dir.File("missing.txt"), dir.File("new.txt"), script, percent, pump));
  EXPECT_FALSE(ApplyEditScript(dir.File("old.txt"), dir.File("no-dir/new.txt"), script, percent, pump));

  FaultInjectingFileSystem faulty;
  platform::ScopedOverride<platform::FileSystem> use(faulty);
  ASSERT_TRUE(ApplyEditScript(dir.File("old.txt"), dir.File("new.txt"), script, percent, pump));
  const int operations = faulty.OperationCount();
  for (Fault kind : {Fault::Error, Fault::DiskFull, Fault::ShortWrite}) {
    for (int n = 1; n <= operations; ++n) {
      SCOPED_TRACE(::testing::Message() << "kind " << int(kind) << ", operation " << n);
      faulty.Reset();
      faulty.FailAt(n, kind);
      EXPECT_FALSE(ApplyEditScript(dir.File("old.txt"), dir.File("new.txt"), script, percent, pump));
      EXPECT_TRUE(LineChannelAtEnd());
      if (dir.Exists("new.txt")) {
        EXPECT_TRUE(faulty.Inner().Delete(dir.File("new.txt")));
      }
    }
  }
}

}  // namespace
}  // namespace upd
