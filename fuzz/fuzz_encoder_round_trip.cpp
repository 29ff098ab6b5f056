// Encodes arbitrary bytes and decodes the payload with the updater's decoder:
// every input of 1 to 2 MiB must come back unchanged, through a container
// within the format's limits (the decoder checks them all). Small inputs keep
// the runs fast; the fuzzer's mutations reach runs, repeats and
// single-symbol streams that hand-picked cases miss.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "payload/decoder.h"
#include "payload/encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > upd::kPayloadOutputSize) return 0;
  static upd::PayloadDecoder decoder;
  const std::vector<uint8_t> payload = upd::EncodePayload({data, size});
  if (upd::DecodePayload(decoder, payload) != upd::DecodeStatus::Ok) std::abort();
  if (decoder.output_count != size || !std::equal(data, data + size, decoder.buffer.begin())) std::abort();
  return 0;
}
