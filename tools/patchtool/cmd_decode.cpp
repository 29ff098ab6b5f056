// patchtool decode PAYLOAD OUTPUT: decodes a payload with the updater's own
// decoder and writes the bytes it carries. A malformed payload ends with a
// message naming the fault, and no OUTPUT is left behind.

#include <cstdio>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "command.h"
#include "engine/crc32.h"
#include "payload/decoder.h"
#include "util/whole_file.h"

namespace {

struct DecodeArgs {
  std::string payload;
  std::string output;
};

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto args = std::make_shared<DecodeArgs>();
  auto* cmd = app.add_subcommand("decode", "Decode a payload with the updater's decoder");
  cmd->add_option("PAYLOAD", args->payload, "Payload to decode")->required();
  cmd->add_option("OUTPUT", args->output, "File to write the decoded bytes to")->required();
  cmd->callback([args] {
    try {
      const std::vector<uint8_t> container = upd::ReadFileBytes(args->payload);
      upd::PayloadDecoder decoder;
      const upd::DecodeStatus status = upd::DecodePayload(decoder, container);
      if (status != upd::DecodeStatus::Ok)
        throw std::runtime_error(args->payload + ": not a valid payload: " + std::string(upd::DecodeStatusText(status)));
      const std::span<const uint8_t> bytes(decoder.buffer.data(), decoder.output_count);
      upd::WriteFileReplacing(args->output, bytes);
      std::printf("%s: %zu bytes, CRC-32 %08X\n", args->output.c_str(), bytes.size(),
                  upd::Crc32Update(0, bytes.data(), bytes.size()));
    } catch (const std::exception& e) {
      patchtool::PrintError(e.what());
      throw patchtool::Exit(1);
    }
  });
});

}  // namespace
