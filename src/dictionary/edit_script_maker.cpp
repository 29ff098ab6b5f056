#include "dictionary/edit_script_maker.h"

#include <algorithm>
#include <cstdint>
#include <functional>

#include "dictionary/line_channel.h"
#include "platform/files.h"

namespace upd {
namespace {

// Myers' search gives up beyond this many edits in one stretch and replaces
// the stretch whole: the script stays correct, only longer. Its trace costs
// the square of this in memory (16 MB).
constexpr int32_t kMaxMyersCost = 2000;

using Ids = std::vector<int32_t>;

struct Match {
  int32_t oldIndex;
  int32_t newIndex;
};

// Number of each line, equal numbers for equal lines. An open-addressing
// table of line numbers: one probe sequence over a flat array per line, which
// matters with hundreds of thousands of lines.
void NumberLines(std::span<const std::string_view> oldLines, std::span<const std::string_view> newLines, Ids& a,
                 Ids& b, int32_t& distinct) {
  size_t capacity = 16;
  while (capacity < 2 * (oldLines.size() + newLines.size())) capacity *= 2;
  const size_t mask = capacity - 1;
  std::vector<int32_t> slots(capacity, -1);
  std::vector<size_t> hashes;          // per number
  std::vector<std::string_view> text;  // per number
  const std::hash<std::string_view> hasher;
  auto number = [&](std::string_view line) {
    const size_t hash = hasher(line);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const int32_t id = slots[i];
      if (id < 0) {
        slots[i] = static_cast<int32_t>(text.size());
        hashes.push_back(hash);
        text.push_back(line);
        return slots[i];
      }
      if (hashes[id] == hash && text[id] == line) return id;
    }
  };
  a.reserve(oldLines.size());
  b.reserve(newLines.size());
  for (auto line : oldLines) a.push_back(number(line));
  for (auto line : newLines) b.push_back(number(line));
  distinct = static_cast<int32_t>(text.size());
}

class Aligner {
 public:
  Aligner(const Ids& a, const Ids& b, int32_t distinct)
      : a_(a), b_(b), stamp_(distinct, 0), countA_(distinct), countB_(distinct), posA_(distinct), posB_(distinct) {}

  // The matched pairs of the whole files, in increasing order of both indexes.
  std::vector<Match> Run() {
    matches_.reserve(std::min(a_.size(), b_.size()));
    // A stack of work keeps the order of the matches without recursion. A
    // task is a stretch to align, a run of matched pairs, or the walk along a
    // stretch's anchors (stretch before anchor k, anchor k, then on to k + 1).
    enum class Kind { Stretch, Run, Anchors };
    struct Task {
      Kind kind;
      int32_t a0, a1, b0, b1;  // Run: start a0, b0 and length a1; Anchors: list a0, next anchor b0
    };
    std::vector<std::vector<Match>> anchorLists;
    std::vector<Task> tasks{{Kind::Stretch, 0, static_cast<int32_t>(a_.size()), 0, static_cast<int32_t>(b_.size())}};
    while (!tasks.empty()) {
      Task t = tasks.back();
      tasks.pop_back();
      if (t.kind == Kind::Run) {
        for (int32_t i = 0; i < t.a1; ++i) matches_.push_back({t.a0 + i, t.b0 + i});
        continue;
      }
      if (t.kind == Kind::Anchors) {
        const std::vector<Match>& anchors = anchorLists[t.a0];
        const int32_t k = t.b0;
        if (k == static_cast<int32_t>(anchors.size())) continue;
        const int32_t a0 = k == 0 ? t.a1 : anchors[k - 1].oldIndex + 1;
        const int32_t b0 = k == 0 ? t.b1 : anchors[k - 1].newIndex + 1;
        tasks.push_back({Kind::Anchors, t.a0, t.a1, k + 1, t.b1});
        tasks.push_back({Kind::Run, anchors[k].oldIndex, 1, anchors[k].newIndex, 0});
        tasks.push_back({Kind::Stretch, a0, anchors[k].oldIndex, b0, anchors[k].newIndex});
        continue;
      }
      int32_t a0 = t.a0, a1 = t.a1, b0 = t.b0, b1 = t.b1;
      while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0]) matches_.push_back({a0++, b0++});
      int32_t tail = 0;
      while (a0 < a1 && b0 < b1 && a_[a1 - 1] == b_[b1 - 1]) --a1, --b1, ++tail;
      if (tail > 0) tasks.push_back({Kind::Run, a1, tail, b1, 0});
      if (a0 == a1 || b0 == b1) continue;

      bool shareAny = false;
      std::vector<Match> anchors = UniqueCommonAnchors(a0, a1, b0, b1, shareAny);
      if (!shareAny) continue;  // nothing in common: all deleted, all added
      if (anchors.empty()) {
        Myers(a0, a1, b0, b1);
        continue;
      }
      // After the last anchor, the stretch up to the end; before it, the walk.
      tasks.push_back({Kind::Stretch, anchors.back().oldIndex + 1, a1, anchors.back().newIndex + 1, b1});
      anchorLists.push_back(std::move(anchors));
      // The walk keeps the stretch's start in a1 and b1.
      tasks.push_back({Kind::Anchors, static_cast<int32_t>(anchorLists.size() - 1), a0, 0, b0});
    }
    return std::move(matches_);
  }

 private:
  // Lines that occur exactly once in each side of the stretch, along the
  // longest run that increases on both sides (patience sorting). `shareAny`
  // tells whether the two sides have any line in common at all.
  std::vector<Match> UniqueCommonAnchors(int32_t a0, int32_t a1, int32_t b0, int32_t b1, bool& shareAny) {
    ++generation_;
    for (int32_t i = a0; i < a1; ++i) {
      int32_t id = a_[i];
      if (stamp_[id] != generation_) {
        stamp_[id] = generation_;
        countA_[id] = 0;
        countB_[id] = 0;
      }
      ++countA_[id];
      posA_[id] = i;
    }
    shareAny = false;
    for (int32_t j = b0; j < b1; ++j) {
      int32_t id = b_[j];
      if (stamp_[id] != generation_) continue;
      shareAny = true;
      ++countB_[id];
      posB_[id] = j;
    }
    // Candidates in order of the new side; the run increases on the old side.
    std::vector<Match> candidates;
    for (int32_t j = b0; j < b1; ++j) {
      int32_t id = b_[j];
      if (stamp_[id] == generation_ && countA_[id] == 1 && countB_[id] == 1) candidates.push_back({posA_[id], j});
    }
    if (candidates.empty()) return {};

    std::vector<int32_t> pileTops;  // index into candidates of each pile's top
    std::vector<int32_t> previous(candidates.size(), -1);
    for (int32_t c = 0; c < static_cast<int32_t>(candidates.size()); ++c) {
      auto pile = std::lower_bound(pileTops.begin(), pileTops.end(), candidates[c].oldIndex,
                                   [&](int32_t top, int32_t value) { return candidates[top].oldIndex < value; });
      if (pile != pileTops.begin()) previous[c] = *(pile - 1);
      if (pile == pileTops.end())
        pileTops.push_back(c);
      else
        *pile = c;
    }
    std::vector<Match> run;
    for (int32_t c = pileTops.back(); c >= 0; c = previous[c]) run.push_back(candidates[c]);
    std::reverse(run.begin(), run.end());
    return run;
  }

  // Myers' greedy shortest edit script over the stretch; the trace of each
  // round is kept for the walk back. Beyond kMaxMyersCost edits nothing is
  // matched.
  void Myers(int32_t a0, int32_t a1, int32_t b0, int32_t b1) {
    const int32_t n = a1 - a0, m = b1 - b0;
    const int32_t* A = a_.data() + a0;
    const int32_t* B = b_.data() + b0;
    const int32_t maxCost = static_cast<int32_t>(std::min<int64_t>(int64_t(n) + m, kMaxMyersCost));
    const int32_t offset = maxCost + 1;
    std::vector<int32_t> v(2 * static_cast<size_t>(maxCost) + 3, 0);
    std::vector<int32_t> trace;  // v[-d..d] before round d, at index d*d

    for (int32_t d = 0; d <= maxCost; ++d) {
      trace.insert(trace.end(), v.begin() + (offset - d), v.begin() + (offset + d + 1));
      for (int32_t k = -d; k <= d; k += 2) {
        int32_t x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                     : v[offset + k - 1] + 1;
        int32_t y = x - k;
        while (x < n && y < m && A[x] == B[y]) ++x, ++y;
        v[offset + k] = x;
        if (x >= n && y >= m) {
          WalkBack(trace, d, n, m, a0, b0);
          return;
        }
      }
    }
  }

  void WalkBack(const std::vector<int32_t>& trace, int32_t cost, int32_t x, int32_t y, int32_t a0, int32_t b0) {
    std::vector<Match> found;
    for (int32_t d = cost; d > 0; --d) {
      const int32_t* vd = trace.data() + static_cast<size_t>(d) * d + d;  // vd[k] for k in -d..d
      const int32_t k = x - y;
      const int32_t prevK = (k == -d || (k != d && vd[k - 1] < vd[k + 1])) ? k + 1 : k - 1;
      const int32_t prevX = vd[prevK], prevY = prevX - prevK;
      while (x > prevX && y > prevY) found.push_back({a0 + --x, b0 + --y});
      x = prevX;
      y = prevY;
    }
    while (x > 0 && y > 0) found.push_back({a0 + --x, b0 + --y});
    matches_.insert(matches_.end(), found.rbegin(), found.rend());
  }

  const Ids& a_;
  const Ids& b_;
  std::vector<int32_t> stamp_, countA_, countB_, posA_, posB_;
  int32_t generation_ = 0;
  std::vector<Match> matches_;
};

bool CanBeAdded(std::string_view line) { return line.find_first_of(std::string_view("\r\n\0", 3)) == line.npos; }

void AppendLine(std::string& text, std::string_view line) {
  text.append(line);
  text.append("\r\n");
}

}  // namespace

TextLines ReadChannelLines(const std::string& path) {
  TextLines result;
  std::vector<std::pair<size_t, size_t>> spans;
  try {
    OpenLineChannel(path, "");
    // Lines are never longer than the file.
    if (auto file = platform::Files().OpenRead(path))
      if (auto size = file->Size()) result.bytes->reserve(static_cast<size_t>(*size));
    while (!LineChannelAtEnd()) {
      std::string_view line = ReadChannelLineView();
      spans.emplace_back(result.bytes->size(), line.size());
      result.bytes->append(line);
    }
    CloseLineChannel();
  } catch (...) {
    AbandonLineChannel();
    throw;
  }
  result.lines.reserve(spans.size());
  for (auto [start, size] : spans) result.lines.emplace_back(result.bytes->data() + start, size);
  return result;
}

TextLines SplitCrLfText(std::string bytes) {
  TextLines result;
  *result.bytes = std::move(bytes);
  std::string_view text = *result.bytes;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    const size_t lineNumber = result.lines.size() + 1;
    if (end == text.npos)
      throw EditScriptError("line " + std::to_string(lineNumber) +
                            " of the new file does not end in CR LF; the script's output ends every line so");
    if (text[end] != '\r' || end + 1 >= text.size() || text[end + 1] != '\n')
      throw EditScriptError("line " + std::to_string(lineNumber) +
                            " of the new file holds a CR or LF that is not part of a CR LF line end; "
                            "the script's output ends every line with CR LF and has no other CR or LF");
    result.lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return result;
}

EditScript MakeEditScript(std::span<const std::string_view> oldLines, std::span<const std::string_view> newLines) {
  if (oldLines.size() > INT32_MAX / 2 || newLines.size() > INT32_MAX / 2)
    throw EditScriptError("too many lines for an edit script");
  Ids a, b;
  int32_t distinct = 0;
  NumberLines(oldLines, newLines, a, b, distinct);
  const std::vector<Match> matches = Aligner(a, b, distinct).Run();

  EditScript script;
  int32_t i = 0, j = 0;  // next old line, next new line (= lines of the new file so far)
  auto recordsUpTo = [&](int32_t oldEnd, int32_t newEnd) {
    const std::string place = std::to_string(j);
    for (; i < oldEnd; ++i, ++script.deletions) {
      AppendLine(script.text, "USUN");
      AppendLine(script.text, place);
    }
    for (; j < newEnd; ++j, ++script.additions) {
      if (!CanBeAdded(newLines[j]))
        throw EditScriptError("line " + std::to_string(j + 1) +
                              " of the new file holds a CR, LF or 0x00 byte and is not in the old file; "
                              "a script cannot add such a line");
      AppendLine(script.text, "DOD");
      AppendLine(script.text, std::to_string(j));
      AppendLine(script.text, newLines[j]);
    }
  };
  for (const Match& match : matches) {
    recordsUpTo(match.oldIndex, match.newIndex);
    ++i;
    ++j;
  }
  recordsUpTo(static_cast<int32_t>(a.size()), static_cast<int32_t>(b.size()));
  return script;
}

}  // namespace upd
