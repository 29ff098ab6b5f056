// The line channel's single instance and its operations.
//
// State (one instance, all zero or false at program start):
//   ChannelOpen, HasInput, HasOutput  whether the channel and each side are in use
//   InputBuffer, InputCount, InputPos the bytes of the current refill; InputPos is
//                                     1-based, InputPos > InputCount means used up
//   AheadCount                        bytes already read from the file beyond the
//                                     current refill, kept at InputBuffer[InputCount]
//   InputEnded                        a read of the input file has returned nothing
//   OutputBuffer, OutputCount         bytes written by the caller, not yet in the file
//
// The refill rule is "40000 bytes, then one byte at a time up to the next LF".
// Reading single bytes from the file would cost a call per byte, so the
// extension reads blocks into the buffer, takes what the byte-wise rule would
// have taken and keeps the rest as AheadCount for the next refill. The bytes
// of every refill, and so the lines handed out, are exactly those of the
// byte-wise rule.

#include "dictionary/line_channel.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/files.h"

namespace upd {
namespace {

// Size of the blocks read ahead while a refill looks for its closing LF.
constexpr int32_t kReadAheadBlock = 8192;

struct LineChannelState {
  bool ChannelOpen = false;
  bool HasInput = false;
  bool HasOutput = false;
  std::unique_ptr<platform::InputFile> input;
  std::unique_ptr<platform::OutputFile> output;
  std::string inputName;
  std::string outputName;

  char InputBuffer[kChannelBufferSize];
  int32_t InputCount = 0;
  int32_t InputPos = 1;
  int32_t AheadCount = 0;
  bool InputEnded = false;

  char OutputBuffer[kChannelBufferSize];
  int32_t OutputCount = 0;
};

// Static, allocated once for the life of the program.
LineChannelState channel;

[[noreturn]] void RaiseFileError(const char* what, const std::string& name) {
  throw LineChannelError(std::string(what) + " '" + name + "': " + platform::Files().LastErrorText());
}

// Reads from the input file into `dest` until at least `atLeast` bytes have
// arrived or the file ends, asking for up to `atMost`. Answers the count.
int32_t ReadInput(char* dest, int32_t atLeast, int32_t atMost) {
  int32_t got = 0;
  while (got < atLeast && !channel.InputEnded) {
    auto n = channel.input->Read(dest + got, static_cast<size_t>(atMost - got));
    if (!n) RaiseFileError("cannot read", channel.inputName);
    if (*n == 0) channel.InputEnded = true;
    got += static_cast<int32_t>(*n);
  }
  return got;
}

// True when the input file has no byte left beyond the current refill. May
// read ahead to find out; only called when the current refill is used up.
bool InputFileAtEnd() {
  if (channel.AheadCount > 0) return false;
  if (channel.InputEnded) return true;
  channel.InputCount = 0;
  channel.InputPos = 1;
  channel.AheadCount = ReadInput(channel.InputBuffer, 1, kChannelReadChunk);
  return channel.AheadCount == 0;
}

// Refills InputBuffer: 40000 bytes, then on up to and including the next LF,
// unless the file ends or the buffer is full.
void FillInputBuffer() {
  if (!channel.HasInput || !channel.input) return;
  char* buffer = channel.InputBuffer;

  // Bytes read ahead by the last refill come first.
  int32_t have = channel.AheadCount;
  if (have > 0 && channel.InputCount > 0) std::memmove(buffer, buffer + channel.InputCount, static_cast<size_t>(have));
  if (have < kChannelReadChunk)
    have += ReadInput(buffer + have, kChannelReadChunk - have, kChannelReadChunk - have + kReadAheadBlock);
  int32_t count = std::min(have, kChannelReadChunk);
  int32_t ahead = have - count;

  // The extension up to the next LF; `ahead` bytes already wait at buffer + count.
  while (count > 0 && count < kChannelBufferSize && buffer[count - 1] != '\n') {
    if (ahead == 0) {
      ahead = ReadInput(buffer + count, 1, std::min(kReadAheadBlock, kChannelBufferSize - count));
      if (ahead == 0) break;
    }
    const void* lf = std::memchr(buffer + count, '\n', static_cast<size_t>(ahead));
    int32_t take = lf ? static_cast<int32_t>(static_cast<const char*>(lf) - (buffer + count)) + 1 : ahead;
    count += take;
    ahead -= take;
  }

  channel.InputCount = count;
  channel.AheadCount = ahead;
  channel.InputPos = 1;
}

void WriteOutput(const char* data, size_t size) {
  if (!channel.output->Write(data, size)) RaiseFileError("cannot write", channel.outputName);
}

// Writes the pending output in one write; a failed or short write is an error
// and leaves the count as it was.
void FlushOutputBuffer() {
  if (channel.ChannelOpen && channel.HasOutput && channel.OutputCount > 0)
    WriteOutput(channel.OutputBuffer, static_cast<size_t>(channel.OutputCount));
  channel.OutputCount = 0;
}

}  // namespace

void OpenLineChannel(const std::string& inputName, const std::string& outputName) {
  if (channel.ChannelOpen) CloseLineChannel();
  channel.input.reset();
  channel.output.reset();
  channel.inputName = inputName;
  channel.outputName = outputName;
  channel.AheadCount = 0;
  channel.InputEnded = false;

  channel.HasInput = !inputName.empty();
  if (channel.HasInput) {
    channel.input = platform::Files().OpenRead(inputName);
    if (!channel.input) RaiseFileError("cannot open", inputName);
  }
  channel.HasOutput = !outputName.empty();
  if (channel.HasOutput) {
    channel.output = platform::Files().CreateTruncate(outputName);
    if (!channel.output) {
      channel.input.reset();
      RaiseFileError("cannot create", outputName);
    }
  }
  channel.InputCount = 0;
  channel.InputPos = 1;
  channel.OutputCount = 0;
  channel.ChannelOpen = true;
}

bool LineChannelAtEnd() {
  if (!channel.ChannelOpen) return true;
  if (channel.InputPos <= channel.InputCount) return false;
  if (!channel.HasInput) return true;
  return InputFileAtEnd();
}

std::string_view ReadChannelLineView() {
  if (channel.InputPos > channel.InputCount) FillInputBuffer();
  const char* buffer = channel.InputBuffer;
  const int32_t count = channel.InputCount;
  const int32_t start = channel.InputPos - 1;  // 0-based from here on
  if (start >= count) return {};

  // The line ends at the first LF or CR, whichever comes first.
  const char* begin = buffer + start;
  const char* limit = buffer + count;
  const char* lf = static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(limit - begin)));
  const char* end = lf ? lf : limit;
  if (const void* cr = std::memchr(begin, '\r', static_cast<size_t>(end - begin))) end = static_cast<const char*>(cr);

  int32_t pos = static_cast<int32_t>(end - buffer);
  if (pos < count) {
    if (buffer[pos] == '\n') {
      ++pos;
    } else {  // CR, and every LF right after it
      ++pos;
      while (pos < count && buffer[pos] == '\n') ++pos;
    }
  }
  channel.InputPos = pos + 1;
  return std::string_view(begin, static_cast<size_t>(end - begin));
}

std::string ReadChannelLine() { return std::string(ReadChannelLineView()); }

void WriteChannelLine(std::string_view line) {
  static constexpr char kCrLf[2] = {'\r', '\n'};
  const size_t need = line.size() + 2;
  if (need > static_cast<size_t>(kChannelBufferSize - channel.OutputCount)) {
    FlushOutputBuffer();
    if (need > static_cast<size_t>(kChannelBufferSize)) {
      // Longer than the whole buffer: straight to the file.
      if (channel.ChannelOpen && channel.HasOutput) {
        WriteOutput(line.data(), line.size());
        WriteOutput(kCrLf, 2);
      }
      return;
    }
  }
  char* out = channel.OutputBuffer + channel.OutputCount;
  std::memcpy(out, line.data(), line.size());
  std::memcpy(out + line.size(), kCrLf, 2);
  channel.OutputCount += static_cast<int32_t>(need);
  if (channel.OutputCount > kChannelFlushThreshold) FlushOutputBuffer();
}

void CloseLineChannel() {
  if (channel.HasOutput && channel.OutputCount > 0) FlushOutputBuffer();
  channel.input.reset();
  if (channel.output) {
    // Through to the disk before anyone moves the file into place.
    if (!channel.output->Flush()) RaiseFileError("cannot flush", channel.outputName);
    if (!channel.output->Close()) RaiseFileError("cannot close", channel.outputName);
    channel.output.reset();
  }
  channel.ChannelOpen = false;
}

void AbandonLineChannel() {
  channel.input.reset();
  channel.output.reset();
  channel.InputCount = 0;
  channel.InputPos = 1;
  channel.AheadCount = 0;
  channel.OutputCount = 0;
  channel.ChannelOpen = false;
}

}  // namespace upd
