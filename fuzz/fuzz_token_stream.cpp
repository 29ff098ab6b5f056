// Feeds arbitrary bytes to the LZ stage as a token stream. The stage must stay
// inside the token stream and the output buffer (the sanitizers watch) and
// agree with the byte-at-a-time reference on the status and every output byte.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "payload/decoder.h"
#include "payload/reference_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static upd::PayloadDecoder decoder;
  // The tokens get a buffer of their own size, so a read past the stream is caught.
  decoder.tokens.assign(data, data + size);
  decoder.token_count = static_cast<uint32_t>(size);
  decoder.buffer.resize(upd::kPayloadOutputSize);
  upd::DecodeStatus status = upd::DecodeLzStage(decoder);

  upd::testing::ReferenceResult expected = upd::testing::ReferenceLzStage(decoder.tokens);
  if (status != expected.status) std::abort();
  if (status == upd::DecodeStatus::Ok &&
      (expected.bytes.size() != decoder.output_count ||
       !std::equal(expected.bytes.begin(), expected.bytes.end(), decoder.buffer.begin())))
    std::abort();
  return 0;
}
