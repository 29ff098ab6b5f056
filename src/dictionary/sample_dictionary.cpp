// The sample dictionary generator. Everything is drawn from one mt19937 with a
// fixed seed, using only its raw output (the standard fixes that sequence; the
// distributions it does not), so every platform makes the same bytes.
//
// The old file: sorted entries "headword TAB part-of-speech TAB translations",
// then a control line "zzzz" + 4 bytes + padding that fills the file to its size;
// the 4 bytes give it its CRC-32. The new file: the same entries with some
// deleted, some retranslated and new ones merged in, then its own control line.

#include "dictionary/sample_dictionary.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "dictionary/edit_script_maker.h"
#include "engine/crc32.h"

namespace upd {
namespace {

// The CRC-32 table, and for each top byte the entry that has it (the top bytes
// of the 256 entries are all different), for running the register backwards.
struct CrcTables {
  uint32_t entry[256];
  uint8_t byTopByte[256];
};

constexpr CrcTables MakeCrcTables() {
  CrcTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
    t.entry[i] = r;
    t.byTopByte[r >> 24] = static_cast<uint8_t>(i);
  }
  return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

// Syllables of made-up English headwords.
constexpr std::string_view kEnglish[] = {
    "ab", "ac", "ad", "al", "am", "an", "ar", "as", "at", "ba", "be", "bi", "bo", "bu", "ca", "ce", "ci",
    "co", "cu", "da", "de", "di", "do", "du", "ed", "el", "em", "en", "er", "es", "fa", "fe", "fi", "fo",
    "ga", "ge", "gi", "go", "ha", "he", "hi", "ho", "in", "is", "it", "la", "le", "li", "lo", "lu", "ma",
    "me", "mi", "mo", "mu", "na", "ne", "ni", "no", "nu", "on", "or", "pa", "pe", "pi", "po", "pu", "qua",
    "ra", "re", "ri", "ro", "ru", "sa", "se", "si", "so", "su", "ta", "te", "ti", "to", "tu", "un", "ur",
    "va", "ve", "vi", "vo", "wa", "we", "wi", "ya", "yo", "za", "ze", "str", "th", "sh", "ch", "ph"};
constexpr std::string_view kEnglishEndings[] = {"",   "",     "",   "",     "ing",  "ed",  "er", "ness",
                                                "ly", "tion", "able", "ment", "ize", "ity", "ous", "s"};

// Polish syllables and endings in code page 1250: 0xB9 a-ogonek, 0xE6 c-acute,
// 0xEA e-ogonek, 0xB3 l-stroke, 0xF1 n-acute, 0xF3 o-acute, 0x9C s-acute,
// 0x9F z-acute, 0xBF z-dot, 0xA3 L-stroke, 0x8C S-acute.
constexpr std::string_view kPolish[] = {
    "pa", "ko", "mi", "no", "wa", "ra", "ta", "la", "ka", "ma", "do", "ro", "sy", "ty", "czy", "szy",
    "rze", "prze", "dzie", "cie", "nie", "sie", "wie", "bie", "s\xB3o", "\xBFo", "ci\xEA", "ni\xB9",
    "\x9Cl", "\xB3" "a", "cz\xEA", "g\xF3", "r\xF3", "\x9Fr\xF3", "w\xB9", "\xBFy", "\x9Cwi", "mo", "lu",
    "pi", "be", "ze", "\xB3o", "gro", "sta", "pro", "wo", "zo", "dro", "kra"};
constexpr std::string_view kPolishEndings[] = {"a", "o", "e", "ek", "o\x9C\xE6", "anie", "y", "\xB9", "ka", "nik",
                                               "owy", "ny", "\xB3y", "nia", "i\xE6", "a\xE6", "owa\xE6", "ie\xE6"};
constexpr std::string_view kCapitals[] = {"\xA3", "\x8C", "P", "K", "W", "M"};
constexpr std::string_view kPartsOfSpeech[] = {"n", "n", "n", "v", "v", "adj", "adj", "adv", "prep", "conj"};

class Generator {
 public:
  uint32_t Below(uint32_t n) { return rng_() % n; }

  template <size_t N>
  std::string_view Pick(const std::string_view (&list)[N]) {
    return list[Below(N)];
  }

  std::string Headword() {
    std::string word;
    for (uint32_t i = 0, n = 2 + Below(3); i < n; ++i) word += Pick(kEnglish);
    word += Pick(kEnglishEndings);
    return word;
  }

  std::string PolishWord() {
    std::string word;
    if (Below(40) == 0) word += Pick(kCapitals);
    for (uint32_t i = 0, n = 1 + Below(3); i < n; ++i) word += Pick(kPolish);
    word += Pick(kPolishEndings);
    return word;
  }

  // "part-of-speech TAB translation, translation; translation".
  std::string Meaning() {
    std::string text(Pick(kPartsOfSpeech));
    text += '\t';
    for (uint32_t group = 0, groups = 1 + Below(3); group < groups; ++group) {
      if (group > 0) text += "; ";
      for (uint32_t word = 0, words = 1 + Below(3); word < words; ++word) {
        if (word > 0) text += ", ";
        text += PolishWord();
      }
    }
    return text;
  }

  std::string Entry(const std::string& headword) { return headword + '\t' + Meaning(); }

 private:
  std::mt19937 rng_{20240611u};
};

constexpr int64_t kLineEnd = 2;          // CR LF
constexpr int64_t kControlRoom = 200;    // the control line gets at least this many bytes
constexpr std::string_view kControlHead = "zzzz";
constexpr std::string_view kControlMeaning = "\tn\tsuma kontrolna ";

int64_t TextSize(const std::vector<std::string>& lines) {
  int64_t size = 0;
  for (const auto& line : lines) size += static_cast<int64_t>(line.size()) + kLineEnd;
  return size;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  text.reserve(static_cast<size_t>(TextSize(lines)));
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool IsLetterOrDigit(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Appends the control line to `text` (the entries, CR LF text) so that the
// whole has `size` bytes and the CRC-32 `crc`. Its four chosen bytes are lower-case
// letters or digits; a counter at the end of the line is tried until they are.
void AppendControlLine(std::string& text, int64_t size, uint32_t crc) {
  const int64_t lineSize = size - static_cast<int64_t>(text.size());
  const int64_t fixed = static_cast<int64_t>(kControlHead.size() + 4 + kControlMeaning.size() + 1 + 6) + kLineEnd;
  if (lineSize < fixed) throw std::logic_error("no room for the control line");
  std::string padding;
  for (int64_t i = 0; i < lineSize - fixed; ++i) padding += "kontrolna"[i % 9];

  text += kControlHead;
  const uint32_t prefixCrc = Crc32Update(0, text.data(), text.size());
  for (uint32_t counter = 0; counter < 1000000; ++counter) {
    std::string digits = std::to_string(counter);
    std::string suffix = std::string(kControlMeaning) + padding + ' ' + std::string(6 - digits.size(), '0') + digits + "\r\n";
    std::array<uint8_t, 4> patch = CrcPatchBytes(prefixCrc, suffix, crc);
    if (std::all_of(patch.begin(), patch.end(), IsLetterOrDigit)) {
      text.append(reinterpret_cast<const char*>(patch.data()), patch.size());
      text += suffix;
      return;
    }
  }
  throw std::logic_error("no control line reaches the checksum");
}

std::vector<std::string_view> Views(const std::string& text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    lines.emplace_back(text.data() + start, end - start);
    start = end + 2;
  }
  return lines;
}

}  // namespace

std::array<uint8_t, 4> CrcPatchBytes(uint32_t prefixCrc, std::string_view suffix, uint32_t target) {
  // Registers are the CRC before its final inversion. Run the target back over
  // the suffix to the register needed right after the four bytes.
  uint32_t r = ~target;
  for (size_t i = suffix.size(); i-- > 0;) {
    const uint8_t index = kCrc.byTopByte[r >> 24];
    r = ((r ^ kCrc.entry[index]) << 8) | static_cast<uint8_t>(index ^ static_cast<uint8_t>(suffix[i]));
  }
  // After four steps the register depends only on the four table indexes;
  // each index follows from the top byte of the register after its step.
  uint8_t index[4];
  for (int k = 3; k >= 0; --k) {
    index[k] = kCrc.byTopByte[r >> 24];
    r = (r ^ kCrc.entry[index[k]]) << 8;
  }
  // The bytes that make those indexes from the prefix's register.
  std::array<uint8_t, 4> bytes;
  uint32_t reg = ~prefixCrc;
  for (int k = 0; k < 4; ++k) {
    bytes[k] = static_cast<uint8_t>(reg ^ index[k]);
    reg = kCrc.entry[index[k]] ^ (reg >> 8);
  }
  return bytes;
}

SampleDictionary MakeSampleDictionary() {
  Generator gen;

  // Distinct sorted headwords, more than fit; entries are dropped at random
  // until the old file's entries leave the control line its room.
  std::vector<std::string> headwords;
  for (int i = 0; i < 520000; ++i) headwords.push_back(gen.Headword());
  std::sort(headwords.begin(), headwords.end());
  headwords.erase(std::unique(headwords.begin(), headwords.end()), headwords.end());
  std::vector<std::string> entries;
  entries.reserve(headwords.size());
  for (const auto& word : headwords) entries.push_back(gen.Entry(word));

  const int64_t oldRoom = kSampleOldSize - kControlRoom;
  int64_t size = TextSize(entries);
  if (size < oldRoom) throw std::logic_error("too few entries");
  std::vector<bool> dropped(entries.size(), false);
  while (size > oldRoom) {
    uint32_t i = gen.Below(static_cast<uint32_t>(entries.size()));
    if (dropped[i]) continue;
    dropped[i] = true;
    size -= static_cast<int64_t>(entries[i].size()) + kLineEnd;
  }
  std::vector<std::string> oldEntries;
  std::unordered_set<std::string> used;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (dropped[i]) continue;
    oldEntries.push_back(entries[i]);
    used.insert(headwords[i]);
  }

  // The new entries: some deleted, some retranslated, new words added until
  // the new file's entries leave its control line its room.
  std::vector<std::string> kept;
  for (const auto& entry : oldEntries) {
    uint32_t fate = gen.Below(1000);
    if (fate < 4) continue;  // deleted
    if (fate < 10)
      kept.push_back(entry.substr(0, entry.find('\t')) + '\t' + gen.Meaning());  // retranslated
    else
      kept.push_back(entry);
  }
  const int64_t newRoom = kSampleNewSize - kControlRoom;
  int64_t newSize = TextSize(kept);
  std::vector<std::string> added;
  for (;;) {
    std::string word = gen.Headword();
    if (!used.insert(word).second) continue;
    std::string entry = gen.Entry(word);
    if (newSize + static_cast<int64_t>(entry.size()) + kLineEnd > newRoom) break;
    newSize += static_cast<int64_t>(entry.size()) + kLineEnd;
    added.push_back(std::move(entry));
  }
  std::sort(added.begin(), added.end());
  std::vector<std::string> newEntries;
  newEntries.reserve(kept.size() + added.size());
  std::merge(kept.begin(), kept.end(), added.begin(), added.end(), std::back_inserter(newEntries));

  SampleDictionary sample;
  sample.oldBytes = JoinCrLf(oldEntries);
  AppendControlLine(sample.oldBytes, kSampleOldSize, kSampleOldCrc);
  sample.newBytes = JoinCrLf(newEntries);
  AppendControlLine(sample.newBytes, kSampleNewSize, kSampleNewCrc);

  auto oldLines = Views(sample.oldBytes);
  auto newLines = Views(sample.newBytes);
  sample.script = MakeEditScript(oldLines, newLines).text;
  return sample;
}

}  // namespace upd
