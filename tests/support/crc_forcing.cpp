#include "support/crc_forcing.h"

#include "engine/crc32_forcing.h"

namespace upd::testing {

void ForceCrc32(std::span<unsigned char> bytes, size_t position, uint32_t target) {
  upd::ForceCrc32(bytes, position, target);
}

void ForceCrc32(std::string& bytes, size_t position, uint32_t target) {
  upd::ForceCrc32(std::span<unsigned char>(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()), position,
                  target);
}

}  // namespace upd::testing
