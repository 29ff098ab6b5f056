// patchtool encode INPUT OUTPUT [--offset N] [--length N]: makes a payload of
// INPUT, or of the byte range of it that the options name (a build splits a
// file of more than 2 MiB into pieces this way).

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "command.h"
#include "payload/encoder.h"
#include "util/whole_file.h"

namespace {

struct EncodeArgs {
  std::string input;
  std::string output;
  uint64_t offset = 0;
  uint64_t length = 0;
};

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto args = std::make_shared<EncodeArgs>();
  auto* cmd = app.add_subcommand("encode", "Make a payload of a file or of a byte range of it");
  cmd->add_option("INPUT", args->input, "File to encode")->required();
  cmd->add_option("OUTPUT", args->output, "Payload to write")->required();
  cmd->add_option("--offset", args->offset, "First byte of the range (default 0)");
  auto* length = cmd->add_option("--length", args->length, "Bytes in the range, 1 to 2097152 (default: to the end)");
  cmd->callback([args, length] {
    std::optional<uint64_t> count;
    if (length->count() > 0) count = args->length;
    try {
      const std::vector<uint8_t> piece = upd::ReadFileBytes(args->input, args->offset, count);
      if (piece.empty() || piece.size() > upd::kMaxPayloadPieceSize)
        throw std::runtime_error(args->input + ": a payload carries 1 to 2097152 bytes, the range holds " +
                                 std::to_string(piece.size()));
      const std::vector<uint8_t> payload = upd::EncodePayload(piece);
      upd::WriteFileReplacing(args->output, payload);
      std::printf("%s: %zu bytes from offset %llu -> %zu bytes\n", args->output.c_str(), piece.size(),
                  static_cast<unsigned long long>(args->offset), payload.size());
    } catch (const std::exception& e) {
      patchtool::PrintError(e.what());
      throw patchtool::Exit(1);
    }
  });
});

}  // namespace
