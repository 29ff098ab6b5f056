// patchtool crc FILE...: the CRC-32 of each file, as the updater computes it to
// recognise files of the checksum kind. One line per file: eight upper-case hex
// digits, two spaces, the name as given. A file that cannot be read is named on
// standard error, the others are still printed, and the exit status is 1.

#include <cstdio>
#include <iostream>
#include <memory>

#include "command.h"
#include "engine/crc32.h"
#include "platform/files.h"

namespace {

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto* cmd = app.add_subcommand("crc", "Print the CRC-32 of files: 8 hex digits, two spaces, the name");
  auto files = std::make_shared<std::vector<std::string>>();
  cmd->add_option("FILE", *files, "Files to checksum")->required();
  cmd->callback([files] {
    bool failed = false;
    for (const std::string& file : *files) {
      auto crc = upd::FileCrc32(file);
      if (!crc) {
        // std::cerr is tied to std::cout: the lines so far come out first.
        patchtool::PrintError("cannot read " + file + ": " + upd::platform::Files().LastErrorText());
        failed = true;
        continue;
      }
      char hex[9];
      std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(*crc));
      std::cout << hex << "  " << file << '\n';
    }
    std::cout.flush();
    if (failed) throw patchtool::Exit(1);
  });
});

}  // namespace
