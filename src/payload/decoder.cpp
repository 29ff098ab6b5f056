// The shared decoder instance, the two stages run back to back, and the
// messages of the decoding faults.

#include "payload/decoder.h"

namespace upd {

std::string_view DecodeStatusText(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::Ok: return "no error";
    case DecodeStatus::CodeTableTruncated: return "container ends inside the code table";
    case DecodeStatus::TooFewSymbols: return "code table has fewer than 2 symbols";
    case DecodeStatus::TokenCountTruncated: return "container ends inside the token count";
    case DecodeStatus::ZeroTokenCount: return "token count is 0";
    case DecodeStatus::DataTruncated: return "container ends before the last code of the data";
    case DecodeStatus::InvalidCode: return "bits in the data match no code of the table";
    case DecodeStatus::TokenTruncated: return "token runs past the end of the token stream";
    case DecodeStatus::ZeroDistance: return "back-reference of distance 0";
    case DecodeStatus::DistanceTooFar: return "back-reference reaches before the start of the output";
    case DecodeStatus::OutputTooLong: return "output would pass 2,097,152 bytes";
  }
  return "unknown decoding status";
}

PayloadDecoder& SharedPayloadDecoder() {
  static PayloadDecoder instance;
  return instance;
}

DecodeStatus DecodePayload(PayloadDecoder& decoder, std::span<const uint8_t> container) {
  decoder.buffer.clear();
  decoder.tokens.clear();
  decoder.output_count = 0;
  decoder.buffer.assign(container.begin(), container.end());
  if (DecodeHuffmanStage(decoder) != DecodeStatus::Ok) return decoder.status;
  // The container is no longer needed: its buffer becomes the output buffer.
  decoder.buffer.resize(kPayloadOutputSize);
  return DecodeLzStage(decoder);
}

}  // namespace upd
