// patchtool: the release engineers' command (payload encoder and decoder,
// edit-script maker, checksums, identification, registry value scrambling,
// sample product). Subcommands register themselves; see command.h.

#include <cstdio>
#include <iostream>

#include "command.h"

namespace patchtool {

std::vector<CommandSetup>& Commands() {
  static std::vector<CommandSetup> commands;
  return commands;
}

void PrintError(const std::string& message) { std::cerr << "patchtool: " << message << std::endl; }

}  // namespace patchtool

int main(int argc, char** argv) {
  CLI::App app{"patchtool - prepares and checks update builds"};
  app.require_subcommand(1);
  // Options are written -x and --name everywhere; on Windows CLI11 would also
  // take /name for an option, and so misread a path such as /work/file.
  app.allow_windows_style_options(false);
  for (const auto& setup : patchtool::Commands()) setup(app);
  CLI11_PARSE(app, argc, argv);
  return 0;
}
