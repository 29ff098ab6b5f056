#pragma once
// Central European text helpers over single-byte strings in code page 1250.
// Positions are 1-based where the callers count that way; every position is
// range-checked, nothing reads outside the string.

#include <array>
#include <cstdint>
#include <string>

namespace upd {

// A set of single-byte characters: c is a member when bit (c mod 8) of byte
// (c div 8) is set. Passed by value.
struct TCharSet {
  std::array<uint8_t, 32> bits{};
  constexpr TCharSet() = default;
  constexpr TCharSet(std::initializer_list<unsigned char> members) {
    for (unsigned char c : members) Add(c);
  }
  constexpr void Add(unsigned char c) { bits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
  constexpr bool Has(unsigned char c) const { return (bits[c >> 3] >> (c & 7)) & 1u; }
};

unsigned char LowerCharPl(unsigned char c);
std::string LowerCasePl(const std::string& s);
std::string StripTrailingDigits(const std::string& s);
bool IsInTagList(const std::string& name, const std::string& list, bool ignoreCase, bool stripDigits);
std::string DropLastChars(const std::string& s, int32_t n);
bool InRange64(int64_t value, int64_t min, int64_t max);
bool CharInSetAt(const TCharSet& set, const std::string& s, int32_t pos);
bool ScanToCharInSet(const std::string& s, int32_t& pos, const TCharSet& set, bool backwards);

}  // namespace upd
