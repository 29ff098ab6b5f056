#pragma once
// The sample dictionary: deterministic stand-ins for the old and the new
// "engpol2.sg", with exactly the sizes and CRC-32 values of the dictionary
// patch, and the edit script between them. The lines look like a dictionary's
// (an English headword, a part of speech, Polish translations in code page
// 1250), so that timings of the script application and of the edit-script
// maker mean something. The last line of each file carries four letters or
// digits chosen to reach the checksum.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace upd {

inline constexpr int32_t kSampleOldSize = 20856322;
inline constexpr uint32_t kSampleOldCrc = 0x134A6078;
inline constexpr int32_t kSampleNewSize = 20908583;
inline constexpr uint32_t kSampleNewCrc = 0x301F4AC5;

struct SampleDictionary {
  std::string oldBytes;  // CR LF text, kSampleOldSize bytes, CRC kSampleOldCrc
  std::string newBytes;  // CR LF text, kSampleNewSize bytes, CRC kSampleNewCrc
  std::string script;    // the edit script that turns the old into the new
};

// The same bytes on every run and platform.
SampleDictionary MakeSampleDictionary();

// The four bytes that, put between a prefix whose CRC-32 is `prefixCrc` and
// `suffix`, give the whole text the CRC-32 `target`. Every target can be
// reached, in exactly one way.
std::array<uint8_t, 4> CrcPatchBytes(uint32_t prefixCrc, std::string_view suffix, uint32_t target);

}  // namespace upd
