#pragma once
// Prefix codes for the payload encoder: optimal code lengths under a length
// limit, and codes assigned to those lengths.

#include <array>
#include <cstdint>
#include <span>

namespace upd {

// Longest code the container can describe: its 4-bit length field stores 16 as 0.
inline constexpr int kMaxPrefixCodeLength = 16;

using SymbolWeights = std::array<uint64_t, 256>;
using CodeLengths = std::array<uint8_t, 256>;

// Code lengths that minimise sum(weight[s] * length[s]) over all prefix codes
// whose lengths are at most `maxLength` (package-merge, exact). Symbols of
// weight 0 get length 0 (no code). When fewer than two symbols have weight,
// the result still has two codes of length 1: the container needs at least
// two, so a symbol of weight 0 is given the second one. The lengths always
// satisfy Kraft's equality (the code is complete).
// Throws std::invalid_argument when maxLength is outside 1..16.
CodeLengths LengthLimitedCodeLengths(const SymbolWeights& weights, int maxLength = kMaxPrefixCodeLength);

// Codes for the given lengths, assigned canonically (shorter codes first,
// ascending symbol order within a length); code[s] holds length[s] bits.
// The lengths must satisfy Kraft's inequality.
std::array<uint16_t, 256> AssignPrefixCodes(const CodeLengths& lengths);

}  // namespace upd
