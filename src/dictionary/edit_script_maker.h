#pragma once
// The edit-script maker: the records that turn an old dictionary file into a
// new one, as ApplyEditScript applies them. The old file's lines are those the
// line channel hands out (its terminator and refill rules); the new file must
// be exactly what the application writes: every line ended by CR LF.
//
// The alignment is a patience diff: lines that occur once in each file are
// matched along their longest increasing run, and the stretches between them
// are aligned the same way, then by Myers' O(ND) algorithm when they share no
// such line. Dictionaries, whose lines are nearly all distinct, are aligned in
// O(n log n); the scripts are minimal or close to it.

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace upd {

// A new file that no script can produce, with a message naming the line.
class EditScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lines of a text and the bytes they point into; movable, the views stay valid.
struct TextLines {
  std::unique_ptr<std::string> bytes = std::make_unique<std::string>();
  std::vector<std::string_view> lines;
};

// The lines of the file at `path` as the line channel reads them. Throws
// LineChannelError when the file cannot be read.
TextLines ReadChannelLines(const std::string& path);

// The lines of a CR LF text: every line, the last one too, ends in CR LF, and
// no line holds a CR or LF of its own. Throws EditScriptError otherwise: the
// application writes CR LF after every line, so no other text can be its output.
TextLines SplitCrLfText(std::string bytes);

struct EditScript {
  std::string text;  // the script, each line followed by CR LF
  int64_t additions = 0;
  int64_t deletions = 0;
};

// The script that turns `oldLines` into `newLines`. Throws EditScriptError
// when a line that must be added holds CR, LF or 0x00, which a script cannot
// carry.
EditScript MakeEditScript(std::span<const std::string_view> oldLines, std::span<const std::string_view> newLines);

}  // namespace upd
