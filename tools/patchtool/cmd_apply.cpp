// patchtool apply OLD SCRIPT OUT: applies an edit script as the updater does.

#include <cstdio>
#include <stdexcept>

#include "command.h"
#include "dictionary/edit_script.h"
#include "engine/crc32.h"
#include "platform/files.h"
#include "tool_files.h"
#include "util/whole_file.h"

namespace {

void RunApply(const std::string& oldPath, const std::string& scriptPath, const std::string& outPath) {
  std::vector<std::string> script;
  try {
    script = upd::SplitScriptText(patchtool::ReadFileBytes(scriptPath));
  } catch (const std::exception& e) {
    patchtool::PrintError(e.what());
    throw patchtool::Exit(1);
  }
  const std::string partial = upd::PartialFileName(outPath);
  int32_t percent = 0;
  upd::NoMessages window;
  if (!upd::ApplyEditScript(oldPath, partial, script, percent, window)) {
    upd::platform::Files().Delete(partial);
    patchtool::PrintError("cannot apply '" + scriptPath + "' to '" + oldPath +
                          "': a file could not be read or written, or the script is malformed "
                          "(a number line that is no number, or a record cut short)");
    throw patchtool::Exit(1);
  }
  std::optional<uint32_t> crc = upd::FileCrc32(partial);
  int64_t size = -1;
  if (auto file = upd::platform::Files().OpenRead(partial)) size = file->Size().value_or(-1);
  try {
    patchtool::CommitPartialFile(partial, outPath);
  } catch (const std::exception& e) {
    patchtool::PrintError(e.what());
    throw patchtool::Exit(1);
  }
  std::printf("%s: %lld bytes, CRC-32 %08X\n", outPath.c_str(), static_cast<long long>(size), crc ? *crc : 0u);
}

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto* cmd = app.add_subcommand("apply", "Apply an edit script to OLD, writing OUT");
  auto oldPath = std::make_shared<std::string>();
  auto scriptPath = std::make_shared<std::string>();
  auto outPath = std::make_shared<std::string>();
  cmd->add_option("OLD", *oldPath, "the old dictionary file")->required()->check(CLI::ExistingFile);
  cmd->add_option("SCRIPT", *scriptPath, "the edit script")->required()->check(CLI::ExistingFile);
  cmd->add_option("OUT", *outPath, "the file to write")->required();
  cmd->callback([=] { RunApply(*oldPath, *scriptPath, *outPath); });
});

}  // namespace
