#pragma once
// The value scrambler. The product's installer stores its installation
// directory under a scrambled value name with scrambled contents; TKod computes
// the scrambled names the updater looks for and unscrambles what it reads.
//
// Three variants, chosen from the product, the mode and the format flag:
//   additive           AppId 1..3: keeps the length; bytes 0..29 pass unchanged,
//                      bytes 30..255 are shifted by a key within 30..255.
//   one-class chain    XOR with a key and a chain byte, bytes 0..32 escaped
//                      through a marker, the chain byte appended.
//   three-class chain  the same with 126..255 escaped as well, so that every
//                      byte that is not an escape lies in 33..125.
// Neither direction ever fails: out-of-range products or modes, and any error
// inside a variant, give the text back unchanged.

#include <cstdint>
#include <string>

namespace upd {

class TKod {
 public:
  enum class Variant { Unchanged, Additive, Chain, Chain3 };

  // Mode 5 scrambles registry value names and values, mode 6 the special
  // edition caption; modes 1..4 are valid but unused.
  std::string Encode(const std::string& s, int32_t appId, int32_t mode, bool newRegFormat) const;
  std::string Decode(const std::string& s, int32_t appId, int32_t mode, bool newRegFormat) const;

  // The variant that Encode and Decode apply to a non-empty text.
  static Variant VariantFor(int32_t appId, int32_t mode, bool newRegFormat);
};

// The one scrambler of the process; it has no state, so sharing it is free.
const TKod& Kod();

}  // namespace upd
