// patchtool scramble / unscramble: the value scrambler from the command line,
// for checking what the product's installer stored or preparing a caption.
//
//   patchtool scramble   --app-id 4 [--mode 5] [--new-format] [--hex] TEXT
//   patchtool unscramble --app-id 4 [--mode 5] [--new-format] [--hex] TEXT
//
// TEXT is taken as the bytes given and the result written as its bytes, with
// nothing added; with --hex both are hexadecimal (the result then ends in a
// line break), for bytes that a command line cannot carry.

#include <cstdio>
#include <iostream>
#include <optional>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "command.h"
#include "install/kod.h"

namespace {

std::optional<std::string> FromHex(const std::string& hex) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() % 2) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::string ToHex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

struct ScrambleOptions {
  int appId = 0;
  int mode = 5;
  bool newFormat = false;
  bool hex = false;
  std::string text;
};

void AddCommand(CLI::App& app, const char* name, const char* help, bool encode) {
  auto opts = std::make_shared<ScrambleOptions>();
  auto* cmd = app.add_subcommand(name, help);
  cmd->add_option("--app-id", opts->appId, "Product (AppId 1..13)")->required()->check(CLI::Range(1, 13));
  cmd->add_option("--mode", opts->mode, "Key group: 5 registry values and names, 6 the special-edition caption")
      ->check(CLI::Range(1, 6))
      ->capture_default_str();
  cmd->add_flag("--new-format", opts->newFormat, "The three-class format that ForceNewReg selects");
  cmd->add_flag("--hex", opts->hex, "TEXT and the result are hexadecimal");
  cmd->add_option("TEXT", opts->text, "The text (may be empty)")->required();
  cmd->callback([opts, encode] {
    std::string input = opts->text;
    if (opts->hex) {
      auto bytes = FromHex(input);
      if (!bytes) {
        patchtool::PrintError("TEXT is not hexadecimal (two digits per byte): " + input);
        throw patchtool::Exit(1);
      }
      input = *bytes;
    }
    const upd::TKod& kod = upd::Kod();
    std::string result = encode ? kod.Encode(input, opts->appId, opts->mode, opts->newFormat)
                                : kod.Decode(input, opts->appId, opts->mode, opts->newFormat);
    if (opts->hex) {
      std::cout << ToHex(result) << "\n";
    } else {
#ifdef _WIN32
      std::cout.flush();
      _setmode(_fileno(stdout), _O_BINARY);  // the bytes as they are, no CR added
#endif
      std::cout.write(result.data(), static_cast<std::streamsize>(result.size()));
    }
    std::cout.flush();
  });
}

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  AddCommand(app, "scramble", "Scramble a text as the product's installer does", true);
  AddCommand(app, "unscramble", "Unscramble a text that the product's installer scrambled", false);
});

}  // namespace
