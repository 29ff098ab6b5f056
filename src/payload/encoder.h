#pragma once
// The payload encoder: the build-time counterpart of the updater's payload
// decoder. A payload carries one piece of a file of 1 to 2,097,152 bytes as an
// LZ token stream, entropy-coded with a prefix code chosen for that payload.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace upd {

// The largest piece one payload can carry: the decoder's output buffer.
inline constexpr size_t kMaxPayloadPieceSize = 2097152;

struct PayloadEncoderOptions {
  // Rounds of parsing under prices from the previous round's statistics; the
  // encoder stops earlier once a round no longer makes the payload smaller.
  int maxPasses = 12;
  // Earlier positions examined per position in the final rounds' search for
  // back-references (runs of one byte value count once).
  int maxChainVisits = 256;
};

// The container for `input` (1 to 2,097,152 bytes): the code table of the
// token-stream byte values, the token count, and the coded token stream.
// Throws std::invalid_argument for an empty or larger input.
std::vector<uint8_t> EncodePayload(std::span<const uint8_t> input, const PayloadEncoderOptions& options = {});

}  // namespace upd
