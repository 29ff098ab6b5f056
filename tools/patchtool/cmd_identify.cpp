// patchtool identify ENTRY FILE: which known version of catalogue entry ENTRY
// the file is, as the updater decides before it touches the file. Prints the
// verdict digit and its name, and the matching slot when there is one:
//   0 current slot 5      the new version
//   1 patchable slot 1    a known older version
//   2 unknown             no known version (an empty file too)
//   3 open-error          the file cannot be opened or read (exit status 1)

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "command.h"
#include "engine/catalogue.h"
#include "engine/identification.h"
#include "platform/files.h"

namespace {

const char* VerdictName(upd::IdentifyVerdict verdict) {
  switch (verdict) {
    case upd::kVerdictCurrent: return "current";
    case upd::kVerdictPatchable: return "patchable";
    case upd::kVerdictUnknown: return "unknown";
    case upd::kVerdictOpenError: break;
  }
  return "open-error";
}

// A catalogue entry number, 1 to 33, in decimal.
const CLI::Validator kEntryNumber(
    [](std::string& text) -> std::string {
      int value = 0;
      size_t used = 0;
      try {
        value = std::stoi(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != text.size() || value < 1 || value > upd::kCatalogueEntries)
        return "not a catalogue entry number (1 to 33): " + text;
      return {};
    },
    "1..33");

struct Arguments {
  int entry = 0;
  std::string file;
};

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto* cmd = app.add_subcommand("identify", "Identify the version of FILE against catalogue entry ENTRY");
  auto args = std::make_shared<Arguments>();
  cmd->add_option("ENTRY", args->entry, "Catalogue entry number, 1 to 33")
      ->required()
      ->check(kEntryNumber);
  cmd->add_option("FILE", args->file, "The installed file")->required();
  cmd->callback([args] {
    upd::TFileVersion found = upd::IdentifyFileVersionSlot(args->entry, args->file);
    std::cout << static_cast<int>(found.Verdict) << ' ' << VerdictName(found.Verdict);
    if (found.Slot != 0) std::cout << " slot " << found.Slot;
    std::cout << std::endl;
    if (found.Verdict == upd::kVerdictOpenError) {
      patchtool::PrintError("cannot read " + args->file + ": " + upd::platform::Files().LastErrorText());
      throw patchtool::Exit(1);
    }
  });
});

}  // namespace
