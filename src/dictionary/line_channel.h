#pragma once
// The line channel: streams a large text file line by line from an input file
// to an output file through two 400000-byte buffers. There is one channel in
// the program; its operations act on that single instance without a handle.
// Every line written ends in CR LF, whatever ended it on input, so the output
// is a CR LF text whose size and checksum can be compared with expected values.
//
// Calling order: OpenLineChannel, then any mix of LineChannelAtEnd,
// ReadChannelLine (only after LineChannelAtEnd answered false) and
// WriteChannelLine, then CloseLineChannel. Every file error is thrown to the
// caller as LineChannelError; the channel catches none.
//
// A line ends at LF, or at CR together with every LF that directly follows it.
// A refill reads 40000 bytes and then goes on up to the next LF (at most 400000
// bytes in all), and a line is never continued across two refills: a line cut
// by a full buffer, or the last line of a file without terminator, is handed
// out as the bytes gathered so far.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace upd {

inline constexpr int32_t kChannelBufferSize = 400000;     // both buffers
inline constexpr int32_t kChannelReadChunk = 40000;       // first read of a refill
inline constexpr int32_t kChannelFlushThreshold = 40000;  // pending output above this is written

// A file error of the line channel: missing file, no access, disk full, short write.
class LineChannelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Opens the channel (closing it first when it is open). An empty name leaves
// that side unused; the output file is created empty, replacing any file of
// that name. On an error nothing stays open.
void OpenLineChannel(const std::string& inputName, const std::string& outputName);

// True when there is nothing more to read (and always on a closed channel).
bool LineChannelAtEnd();

// The next input line without its terminator.
std::string ReadChannelLine();

// The same line as ReadChannelLine, as a view into the input buffer that stays
// valid until the next read; copying lines through it builds no strings.
std::string_view ReadChannelLineView();

// Appends the line and CR LF to the output. A line longer than the room left
// in the buffer is written after what is pending, never past the buffer.
void WriteChannelLine(std::string_view line);

// Writes what is pending, pushes the output through to the disk and closes
// both files.
void CloseLineChannel();

// Closes both files without writing what is pending, after an error, so that
// the caller can delete an unfinished output file. Never throws.
void AbandonLineChannel();

}  // namespace upd
