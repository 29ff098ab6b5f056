// patchtool diff OLD NEW SCRIPT: writes the edit script that turns OLD into NEW
// as the updater applies it.

#include <cstdio>
#include <stdexcept>

#include "command.h"
#include "dictionary/edit_script_maker.h"
#include "dictionary/line_channel.h"
#include "engine/crc32.h"
#include "tool_files.h"

namespace {

void RunDiff(const std::string& oldPath, const std::string& newPath, const std::string& scriptPath) {
  upd::EditScript script;
  size_t newSize = 0;
  uint32_t newCrc = 0;
  try {
    upd::TextLines oldLines = upd::ReadChannelLines(oldPath);
    std::string newBytes = patchtool::ReadFileBytes(newPath);
    newSize = newBytes.size();
    newCrc = upd::Crc32Update(0, newBytes.data(), newBytes.size());
    upd::TextLines newLines = upd::SplitCrLfText(std::move(newBytes));
    script = upd::MakeEditScript(oldLines.lines, newLines.lines);
    patchtool::WriteFileAtomically(scriptPath, script.text);
  } catch (const upd::EditScriptError& e) {
    patchtool::PrintError(newPath + ": " + e.what());
    throw patchtool::Exit(1);
  } catch (const std::exception& e) {
    patchtool::PrintError(e.what());
    throw patchtool::Exit(1);
  }
  std::printf("%s: %lld additions, %lld deletions, %zu bytes\n", scriptPath.c_str(),
              static_cast<long long>(script.additions), static_cast<long long>(script.deletions), script.text.size());
  std::printf("new file: %zu bytes, CRC-32 %08X\n", newSize, static_cast<unsigned>(newCrc));
}

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto* cmd = app.add_subcommand("diff", "Write the edit script that turns OLD into NEW");
  cmd->footer(
      "OLD is read line by line as the updater reads it (a line ends at LF, or at CR and the LFs "
      "right after it). NEW must be a CR LF text, since the updater writes every line with CR LF; "
      "lines that must be added cannot hold 0x00.");
  auto oldPath = std::make_shared<std::string>();
  auto newPath = std::make_shared<std::string>();
  auto scriptPath = std::make_shared<std::string>();
  cmd->add_option("OLD", *oldPath, "the old dictionary file")->required()->check(CLI::ExistingFile);
  cmd->add_option("NEW", *newPath, "the new dictionary file")->required()->check(CLI::ExistingFile);
  cmd->add_option("SCRIPT", *scriptPath, "the edit script to write")->required();
  cmd->callback([=] { RunDiff(*oldPath, *newPath, *scriptPath); });
});

}  // namespace
