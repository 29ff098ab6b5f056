// The value scrambler's decoder over arbitrary bytes: registry values are
// written by another program, so the decoder must stay inside its input
// whatever it holds. The first two bytes choose the product, mode and format.

#include <cstddef>
#include <cstdint>
#include <string>

#include "install/kod.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t appId = data[0] % 15 - 1;  // -1..13: out of range ones as well
  const int32_t mode = data[1] % 8;        // 0..7
  const bool newFormat = data[1] & 0x80;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string plain = upd::Kod().Decode(text, appId, mode, newFormat);
  if (plain.size() > text.size()) __builtin_trap();
  return 0;
}
