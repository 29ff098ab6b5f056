#include "dictionary/edit_script.h"

#include <limits>
#include <stdexcept>

#include "dictionary/line_channel.h"

namespace upd {
namespace {

const std::string kAddCommand = "DOD";
const std::string kDeleteCommand = "USUN";

// A script that cannot be applied: a number line that is no number, or a
// record cut short by the end of the script.
class BadScript : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace

std::vector<std::string> SplitScriptText(std::string_view text) {
  if (auto zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::vector<std::string> SplitScriptText(std::span<const uint8_t> text) {
  return SplitScriptText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

std::optional<int32_t> ParseScriptNumber(std::string_view line) {
  bool negative = false;
  if (!line.empty() && (line[0] == '+' || line[0] == '-')) {
    negative = line[0] == '-';
    line.remove_prefix(1);
  }
  if (line.empty()) return std::nullopt;
  // Magnitude limit: 2^31 for a negative number, 2^31 - 1 otherwise.
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t ScriptPercent(int64_t used, int64_t total) {
  if (total <= 0) return 0;
  const int64_t scaled = used * 100;
  int64_t quotient = scaled / total;
  const int64_t twiceRest = (scaled % total) * 2;
  if (twiceRest > total || (twiceRest == total && quotient % 2 != 0)) ++quotient;
  return static_cast<int32_t>(quotient);
}

bool ApplyEditScript(const std::string& inputPath, const std::string& outputPath,
                     const std::vector<std::string>& script, int32_t& percent, MessagePump& host) {
  percent = 0;
  const int64_t length = static_cast<int64_t>(script.size());
  try {
    OpenLineChannel(inputPath, outputPath);
    // Positions of the new file passed so far: lines copied, lines added, and
    // copy steps after the old file ran out. 64 bits, so that no N can make it
    // overflow.
    int64_t outLine = 0;
    int64_t i = 0;
    while (i < length) {
      const std::string& command = script[i];
      if (i + 1 >= length) throw BadScript("record without its number");
      const std::optional<int32_t> n = ParseScriptNumber(script[i + 1]);
      if (!n) throw BadScript("number line is not a number");
      i += 2;

      // Copy up to N. Once the old file has run out, the remaining steps copy
      // nothing: they are counted at once instead of one by one.
      while (outLine < *n) {
        if (LineChannelAtEnd()) {
          outLine = *n;
          break;
        }
        WriteChannelLine(ReadChannelLineView());
        ++outLine;
      }

      if (command == kAddCommand) {
        if (i >= length) throw BadScript("add record without its text");
        WriteChannelLine(script[i]);
        ++i;
        ++outLine;
      } else if (command == kDeleteCommand) {
        if (!LineChannelAtEnd()) ReadChannelLineView();
      }

      percent = ScriptPercent(i, length);
      host.ProcessPendingMessages();
    }
    while (!LineChannelAtEnd()) WriteChannelLine(ReadChannelLineView());
    CloseLineChannel();
    return true;
  } catch (...) {
    // Whatever went wrong, the files are closed so that the caller can delete
    // the unfinished output.
    AbandonLineChannel();
    return false;
  }
}

}  // namespace upd
