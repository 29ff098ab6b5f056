#include "dictionary/line_channel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/fault_fs.h"
#include "support/temp_dir.h"

namespace upd {
namespace {

using testing::Fault;
using testing::FaultInjectingFileSystem;
using testing::TempDir;

std::vector<std::string> ReadAllLines(const std::string& path) {
  std::vector<std::string> lines;
  OpenLineChannel(path, "");
  while (!LineChannelAtEnd()) lines.push_back(ReadChannelLine());
  CloseLineChannel();
  return lines;
}

// Copies every line of `in` to `out`, as the edit script does between records.
void CopyAll(const std::string& in, const std::string& out) {
  OpenLineChannel(in, out);
  while (!LineChannelAtEnd()) WriteChannelLine(ReadChannelLineView());
  CloseLineChannel();
}

// The refill and line rules applied literally, one byte at a time, over bytes
// in memory: the model the channel's block-wise refill must match.
std::vector<std::string> ModelLines(const std::string& file) {
  std::vector<std::string> lines;
  size_t filePos = 0;
  std::string buffer;
  size_t pos = 0;  // 0-based next byte of `buffer`
  auto atEnd = [&] { return pos >= buffer.size() && filePos >= file.size(); };
  while (!atEnd()) {
    if (pos >= buffer.size()) {
      buffer = file.substr(filePos, kChannelReadChunk);
      filePos += buffer.size();
      while (!buffer.empty() && buffer.size() < size_t(kChannelBufferSize) && buffer.back() != '\n' &&
             filePos < file.size())
        buffer += file[filePos++];
      pos = 0;
    }
    std::string line;
    while (pos < buffer.size() && buffer[pos] != '\r' && buffer[pos] != '\n') line += buffer[pos++];
    if (pos < buffer.size()) {
      if (buffer[pos++] == '\r')
        while (pos < buffer.size() && buffer[pos] == '\n') ++pos;
    }
    lines.push_back(line);
  }
  return lines;
}

std::string X(size_t n) { return std::string(n, 'x'); }

// Lines as short text for failure messages: long lines by their length.
std::vector<std::string> Summary(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) {
    if (line.size() <= 40) {
      out.push_back(line);
      continue;
    }
    std::string text = "<";
    out.push_back(text += std::to_string(line.size()) + " bytes>");
  }
  return out;
}

struct LineCase {
  std::string input;
  std::vector<std::string> lines;
};

TEST(LineChannel, SplitsLinesAtEachTerminatorKind) {
  const LineCase cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},                 // CR LF; no empty third line
      {"a\nb", {"a", "b"}},                       // last line without terminator
      {"a\rb", {"a", "b"}},                       // a lone CR ends a line
      {"a\r\n\nb", {"a", "b"}},                   // LFs right after a CR belong to its terminator
      {"a\r\n\n\n\nb\n", {"a", "b"}},             // ... however many
      {"a\n\nb", {"a", "", "b"}},                 // LF LF: an empty line
      {"a\r\r\nb", {"a", "", "b"}},               // CR, then CR LF: an empty line
      {"a\n\r\nb", {"a", "", "b"}},               // LF, then CR LF
      {"", {}},                                   // empty file: at the end at once
      {"\n", {""}},                               // one empty line
      {"\r\n\r\n", {"", ""}},                     // two empty lines
      {"a\r", {"a"}},                             // CR at the very end
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},  // 0x00 is an ordinary byte
      {"\xA5\xB9\xB3\xF3\r\n", {"\xA5\xB9\xB3\xF3"}},             // code page 1250 letters
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.input));
    dir.Write("in.txt", c.input);
    EXPECT_EQ(ReadAllLines(dir.File("in.txt")), c.lines);
  }
}

TEST(LineChannel, WritesEveryLineWithCrLf) {
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      {"a\nb", "a\r\nb\r\n"},                                        // LF and no final terminator
      {"a\rb\r", "a\r\nb\r\n"},                                      // lone CRs
      {"a\n\nb\n", "a\r\n\r\nb\r\n"},                                // the empty line survives
      {"", ""},                                                      // nothing in, nothing out
      {std::string("x\0y\n", 4), std::string("x\0y\r\n", 5)},        // 0x00 written whole
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.input));
    dir.Write("in.txt", c.input);
    CopyAll(dir.File("in.txt"), dir.File("out.txt"));
    EXPECT_EQ(dir.Read("out.txt"), c.output);
  }
}

// Where a refill ends decides how a long line is cut and whether a terminator
// split across two refills makes an extra empty line.
TEST(LineChannel, RefillBoundaries) {
  const size_t full = kChannelBufferSize, chunk = kChannelReadChunk;
  const LineCase cases[] = {
      // A line longer than a full buffer comes out in pieces.
      {X(full + 50000) + "\r\nb\r\n", {X(full), X(50000), "b"}},
      {X(2 * full + 1) + "\n", {X(full), X(full), "x"}},
      // A full buffer ending on the CR of a CR LF: the LF opens the next refill
      // and makes an empty line.
      {X(full - 1) + "\r\nb", {X(full - 1), "", "b"}},
      // The first read ends on the LF of a CR LF that another LF follows: the
      // refill stops there, so that LF is an empty line of its own ...
      {X(chunk - 2) + "\r\n\nb\r\n", {X(chunk - 2), "", "b"}},
      // ... and so it is when the extension stops at the first of them ...
      {X(chunk - 1) + "\r\n\nb\r\n", {X(chunk - 1), "", "b"}},
      // ... while a first read that holds both LFs makes no empty line.
      {X(chunk - 3) + "\r\n\nb\r\n", {X(chunk - 3), "b"}},
      // A line that ends just inside the limit is whole.
      {X(full - 2) + "\r\n" + "b", {X(full - 2), "b"}},
      // Lines across the 40000-byte mark are not cut.
      {X(chunk - 10) + "\r\n" + X(100) + "\r\n", {X(chunk - 10), X(100)}},
  };
  TempDir dir;
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    dir.Write("in.txt", cases[i].input);
    EXPECT_EQ(Summary(ReadAllLines(dir.File("in.txt"))), Summary(cases[i].lines));
    EXPECT_EQ(Summary(ModelLines(cases[i].input)), Summary(cases[i].lines));
  }
}

// The block-wise refill hands out the same lines as the byte-wise rule on
// mixed input: short and very long lines, every terminator kind.
TEST(LineChannel, MatchesTheByteWiseRefillRule) {
  TempDir dir;
  for (unsigned seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    std::string input;
    while (input.size() < 1500000) {
      size_t length;
      switch (rng() % 8) {
        case 0: length = 330000 + rng() % 120000; break;  // around the buffer limits
        case 1: length = 39000 + rng() % 2000; break;  // around the first read
        default: length = rng() % 200; break;
      }
      input += X(length);
      static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\n\n", "\n\n", "\r\r\n", ""};
      input += kEnds[rng() % std::size(kEnds)];
    }
    dir.Write("in.txt", input);
    EXPECT_EQ(Summary(ReadAllLines(dir.File("in.txt"))), Summary(ModelLines(input)));
  }
}

TEST(LineChannel, EmptyLineIsCrLfAndCloseAddsNothing) {
  TempDir dir;
  OpenLineChannel("", dir.File("out.txt"));
  EXPECT_TRUE(LineChannelAtEnd());  // no input side
  WriteChannelLine("");
  WriteChannelLine("ab");
  CloseLineChannel();
  EXPECT_EQ(dir.Read("out.txt"), "\r\nab\r\n");
}

TEST(LineChannel, OutputLeavesWhenMoreThan40000BytesArePending) {
  TempDir dir;
  const auto path = dir.File("out.txt");
  OpenLineChannel("", path);
  // The size from the folder: the file is open for writing, so it cannot be
  // opened for reading with writers denied.
  WriteChannelLine(X(kChannelFlushThreshold - 2));  // exactly 40000 pending: kept
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  WriteChannelLine("");  // 40002 pending: written in one block
  EXPECT_EQ(std::filesystem::file_size(path), kChannelFlushThreshold + 2u);
  CloseLineChannel();
}

TEST(LineChannel, LinesLongerThanTheBufferAreWrittenInOrder) {
  TempDir dir;
  const std::string huge(kChannelBufferSize + 123, 'h');
  const std::string big(kChannelBufferSize - 2, 'b');  // fills an empty buffer exactly
  OpenLineChannel("", dir.File("out.txt"));
  WriteChannelLine("first");
  WriteChannelLine(huge);
  WriteChannelLine("mid");
  WriteChannelLine(big);
  WriteChannelLine("last");
  CloseLineChannel();
  EXPECT_EQ(dir.Read("out.txt"), "first\r\n" + huge + "\r\nmid\r\n" + big + "\r\nlast\r\n");
}

TEST(LineChannel, OpeningAgainClosesTheOpenChannelWithItsOutput) {
  TempDir dir;
  dir.Write("in.txt", "a\r\n");
  OpenLineChannel(dir.File("in.txt"), dir.File("one.txt"));
  WriteChannelLine("pending");
  OpenLineChannel(dir.File("in.txt"), dir.File("two.txt"));
  EXPECT_EQ(dir.Read("one.txt"), "pending\r\n");
  EXPECT_EQ(ReadChannelLine(), "a");  // the new opening reads from the start
  CloseLineChannel();
  EXPECT_TRUE(LineChannelAtEnd());  // closed
}

TEST(LineChannel, OpeningErrorsAreThrownAndLeaveNothingOpen) {
  TempDir dir;
  dir.Write("in.txt", "a\r\n");
  EXPECT_THROW(OpenLineChannel(dir.File("missing.txt"), dir.File("out.txt")), LineChannelError);
  EXPECT_TRUE(LineChannelAtEnd());
  EXPECT_FALSE(dir.Exists("out.txt"));
  EXPECT_THROW(OpenLineChannel(dir.File("in.txt"), dir.File("no-such-dir/out.txt")), LineChannelError);
  EXPECT_TRUE(LineChannelAtEnd());
}

// Every file error surfaces as LineChannelError from the call that meets it.
TEST(LineChannel, FileErrorsAreThrownToTheCaller) {
  TempDir dir;
  std::string input;
  for (int i = 0; i < 20000; ++i) input += "line " + std::to_string(i) + "\r\n";
  dir.Write("in.txt", input);

  FaultInjectingFileSystem faulty;
  platform::ScopedOverride<platform::FileSystem> use(faulty);
  CopyAll(dir.File("in.txt"), dir.File("out.txt"));
  const int operations = faulty.OperationCount();
  ASSERT_GT(operations, 6);

  for (Fault kind : {Fault::Error, Fault::DiskFull, Fault::ShortWrite}) {
    for (int n = 1; n <= operations; ++n) {
      SCOPED_TRACE(::testing::Message() << "kind " << int(kind) << ", operation " << n);
      faulty.Reset();
      faulty.FailAt(n, kind);
      EXPECT_THROW(CopyAll(dir.File("in.txt"), dir.File("out.txt")), LineChannelError);
      AbandonLineChannel();
      EXPECT_TRUE(LineChannelAtEnd());
    }
  }
}

}  // namespace
}  // namespace upd
