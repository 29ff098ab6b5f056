#pragma once
// Every patchtool subcommand lives in its own cmd_*.cpp file and registers
// itself with a static CommandRegistrar, so adding a command touches no other
// file:
//
//   static patchtool::CommandRegistrar registrar([](CLI::App& app) {
//     auto* cmd = app.add_subcommand("crc", "Print the CRC-32 of files");
//     ...
//     cmd->callback([=] { ... throw patchtool::Exit(1) on failure ... });
//   });

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace patchtool {

using CommandSetup = std::function<void(CLI::App& app)>;

std::vector<CommandSetup>& Commands();

struct CommandRegistrar {
  explicit CommandRegistrar(CommandSetup setup) { Commands().push_back(std::move(setup)); }
};

// Ends the program with `code` after the callback; the message, if any, has
// already gone to standard error.
inline CLI::RuntimeError Exit(int code) { return CLI::RuntimeError(code); }

// Prints "patchtool: <message>" to standard error.
void PrintError(const std::string& message);

}  // namespace patchtool
