// Feeds arbitrary bytes to the decoder as a payload container. Both stages
// must stay inside their buffers (the sanitizers watch), and the prefix-code
// stage must agree with the linear walk of the reference decoder: the same
// status and, where it accepts, the same tokens.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "payload/decoder.h"
#include "payload/reference_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static upd::PayloadDecoder decoder;  // reused, as the rebuild reuses its decoder
  std::span<const uint8_t> container(data, size);
  upd::DecodeStatus status = upd::DecodePayload(decoder, container);

  upd::PayloadDecoder check;
  check.buffer.assign(data, data + size);
  upd::DecodeHuffmanStage(check);
  upd::testing::ReferenceResult walk = upd::testing::ReferenceHuffmanStage(container);
  if (check.status != walk.status || check.tokens != walk.bytes) std::abort();

  if (status == upd::DecodeStatus::Ok) {
    upd::testing::ReferenceResult lz = upd::testing::ReferenceLzStage(walk.bytes);
    if (lz.status != upd::DecodeStatus::Ok || lz.bytes.size() != decoder.output_count ||
        !std::equal(lz.bytes.begin(), lz.bytes.end(), decoder.buffer.begin()))
      std::abort();
  }
  return 0;
}
