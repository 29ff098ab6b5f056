#pragma once
// Decoder of the payloads that rebuild product files: the prefix-code stage
// turns a container into its LZ token stream, the LZ stage turns the token
// stream into the bytes of the file piece.
//
// The container is read as a bit stream: bytes in ascending order, each byte
// from its most significant bit; a field of several bits is stored most
// significant bit first.
//
//   code table   for each symbol s = 0..255: 1 presence bit; when it is 1, a
//                4-bit length L (0 stands for 16) and the L-bit code of s
//   padding      the rest of the byte in which the code table ends
//   token count  N, 4 bytes little-endian, byte-aligned
//   data         N codes back to back, one per token byte; the bits after the
//                last code and any bytes after its byte are ignored
//
// Codes are taken as stored, never derived from the lengths. A bit sequence
// decodes to the first entry, in the table sorted by code length (equal
// lengths in ascending symbol order), whose code equals that many next bits.
//
// Token stream (no separators, no end marker):
//
//   1nnnnnnn               literal run: the next n + 1 bytes (1..128) as they are
//   0kkkdddd dddddddd      back-reference: k + 3 bytes (3..10) copied one at a
//                          time from d (1..4095) bytes before the end of the
//                          output, so a d below the length repeats the last d bytes
//
// Both stages treat their input as untrusted: every malformed input ends in
// a status other than Ok that names the fault, and neither stage reads or
// writes outside its buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace upd {

// Size of the LZ stage's output buffer; no payload decodes to more.
inline constexpr size_t kPayloadOutputSize = 2097152;  // 2 MiB

// Outcome of a decoding stage. Each fault has its own value; DecodeStatusText
// gives the message.
enum class DecodeStatus : uint8_t {
  Ok = 0,
  // Prefix-code stage.
  CodeTableTruncated,   // the container ends inside the code table
  TooFewSymbols,        // fewer than 2 symbols have a code
  TokenCountTruncated,  // the container ends inside the 4-byte token count
  ZeroTokenCount,       // the token count is 0
  DataTruncated,        // the container ends before the N codes of the data are complete
  InvalidCode,          // a bit sequence of the data matches no code of the table
  // LZ stage.
  TokenTruncated,       // a token's bytes run past the end of the token stream
  ZeroDistance,         // a back-reference of distance 0
  DistanceTooFar,       // a back-reference reaching before the start of the output
  OutputTooLong,        // the output would pass the output buffer (kPayloadOutputSize)
};

// A short English message for `status`, for tools and tests.
std::string_view DecodeStatusText(DecodeStatus status);

// The state of decoding one payload. The rebuild uses one module-level
// instance (SharedPayloadDecoder); tests and tools may keep their own.
struct PayloadDecoder {
  // The payload buffer: the container's bytes for the prefix-code stage, then,
  // set to kPayloadOutputSize bytes, the output buffer of the LZ stage.
  std::vector<uint8_t> buffer;

  // Bit reader over `buffer`: the current byte and how many of its bits are
  // still unread (8 down to 1).
  size_t byte_index = 0;
  int bits_unread = 8;

  // The code table, three parallel arrays of entry_count entries. They are
  // filled in ascending symbol order, then sorted by code length, shortest
  // first, keeping ascending symbol order among equal lengths.
  std::array<uint8_t, 256> code_length{};  // 1..16
  std::array<uint16_t, 256> code{};
  std::array<uint8_t, 256> symbol{};
  int entry_count = 0;

  // The token stream left by the prefix-code stage: exactly token_count bytes.
  std::vector<uint8_t> tokens;
  uint32_t token_count = 0;

  // Bytes of `buffer` written by the LZ stage (0 after a failure).
  size_t output_count = 0;

  // Outcome of the last stage that ran.
  DecodeStatus status = DecodeStatus::Ok;

  // Lookup table of the prefix-code stage, built from the code table: for
  // every value of the next max_length bits, the symbol (high byte) and code
  // length (low byte) of the entry the table decodes them to (0 where none).
  // Kept between payloads so that its allocation is reused.
  std::vector<uint16_t> lookup;
  int max_length = 0;
};

// The one decoder of the process, used by the rebuild. Not re-entrant.
PayloadDecoder& SharedPayloadDecoder();

// Prefix-code stage: reads the container in `decoder.buffer` and fills
// `decoder.tokens` with exactly `decoder.token_count` bytes.
DecodeStatus DecodeHuffmanStage(PayloadDecoder& decoder);

// LZ stage: reads `decoder.tokens` and writes from position 0 of
// `decoder.buffer`, never past its size nor past kPayloadOutputSize bytes;
// leaves the byte count in `output_count`.
DecodeStatus DecodeLzStage(PayloadDecoder& decoder);

// Both stages over one container: clears the decoder's buffers, copies
// `container` into the payload buffer, runs the prefix-code stage, makes the
// payload buffer the output buffer and runs the LZ stage. On Ok the decoded
// bytes are the first `output_count` bytes of `decoder.buffer`.
DecodeStatus DecodePayload(PayloadDecoder& decoder, std::span<const uint8_t> container);

}  // namespace upd
