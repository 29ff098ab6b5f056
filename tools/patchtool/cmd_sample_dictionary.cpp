// patchtool sample-dictionary DIR: writes the sample dictionary patch: the old
// and the new "engpol2.sg" (DIR/old/, DIR/new/) and the edit script between
// them (DIR/engpol2.script). The new file is made by applying the script to
// the old one, as the updater does, and checked against its size and CRC-32.
// `patchtool sample DIR` writes the same files into DIR/dictionary/.

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "command.h"
#include "dictionary/edit_script.h"
#include "dictionary/sample_dictionary.h"
#include "engine/crc32.h"
#include "platform/files.h"
#include "sample_writers.h"
#include "tool_files.h"
#include "util/whole_file.h"

namespace {

// Throws std::runtime_error naming what failed.
void WriteSampleDictionary(const std::string& dir) {
  const std::filesystem::path root(dir);
  const std::string oldPath = (root / "old" / "engpol2.sg").string();
  const std::string newPath = (root / "new" / "engpol2.sg").string();
  const std::string scriptPath = (root / "engpol2.script").string();
  try {
    std::filesystem::create_directories(root / "old");
    std::filesystem::create_directories(root / "new");
    upd::SampleDictionary sample = upd::MakeSampleDictionary();
    patchtool::WriteFileAtomically(oldPath, sample.oldBytes);
    patchtool::WriteFileAtomically(scriptPath, sample.script);

    const std::string partial = upd::PartialFileName(newPath);
    int32_t percent = 0;
    upd::NoMessages window;
    bool applied = upd::ApplyEditScript(oldPath, partial, upd::SplitScriptText(sample.script), percent, window);
    std::optional<uint32_t> crc = applied ? upd::FileCrc32(partial) : std::nullopt;
    std::optional<int64_t> size;
    if (auto file = applied ? upd::platform::Files().OpenRead(partial) : nullptr) size = file->Size();
    if (!crc || *crc != upd::kSampleNewCrc || size != upd::kSampleNewSize) {
      upd::platform::Files().Delete(partial);
      throw std::runtime_error("the script applied to the old file does not give the new one");
    }
    patchtool::CommitPartialFile(partial, newPath);
  } catch (const std::exception& e) {
    throw std::runtime_error("sample dictionary: " + std::string(e.what()));
  }
  std::printf("%s: %d bytes, CRC-32 %08X\n", oldPath.c_str(), upd::kSampleOldSize, upd::kSampleOldCrc);
  std::printf("%s: %d bytes, CRC-32 %08X\n", newPath.c_str(), upd::kSampleNewSize, upd::kSampleNewCrc);
  std::printf("%s: the edit script from the old to the new\n", scriptPath.c_str());
}

patchtool::SampleWriterRegistrar sampleWriter({"the sample dictionary patch (in dictionary/)", [](const std::string& dir) {
  WriteSampleDictionary(patchtool::PathInDir(dir, "dictionary"));
}});

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto* cmd = app.add_subcommand("sample-dictionary",
                                 "Write the sample dictionary patch: old and new engpol2.sg and the script");
  auto dir = std::make_shared<std::string>();
  cmd->add_option("DIR", *dir, "folder to write into (created when missing)")->required();
  cmd->callback([=] {
    try {
      WriteSampleDictionary(*dir);
    } catch (const std::exception& e) {
      patchtool::PrintError(e.what());
      throw patchtool::Exit(1);
    }
  });
});

}  // namespace
