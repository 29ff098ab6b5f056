// patchtool sample DIR: writes the sample product's files into DIR (created
// when missing). What is written comes from the registered sample writers
// (see sample_writers.h); the program versions are written here.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "command.h"
#include "payload/sample_product.h"
#include "sample_writers.h"
#include "util/whole_file.h"

namespace patchtool {

std::vector<SampleWriter>& SampleWriters() {
  static std::vector<SampleWriter> writers;
  return writers;
}

std::string PathInDir(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

}  // namespace patchtool

namespace {

// The five known versions of the program file of entry 33.
patchtool::SampleWriterRegistrar programVersions({"the program file at its five known versions", [](const std::string& dir) {
  for (int slot = 1; slot <= upd::kSampleProgramVersions; ++slot) {
    const upd::SampleProgramVersion& version = upd::SampleProgramVersionInfo(slot);
    const std::string path = patchtool::PathInDir(dir, version.fileName);
    upd::WriteFileReplacing(path, upd::MakeSampleProgram(slot));
    std::printf("%s: %u bytes, CRC-32 %08X\n", path.c_str(), version.size, version.crc);
  }
}});

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto dir = std::make_shared<std::string>();
  std::string what;
  for (const patchtool::SampleWriter& writer : patchtool::SampleWriters())
    what += (what.empty() ? "" : "; ") + writer.description;
  auto* cmd = app.add_subcommand("sample", "Write the sample product's files into a folder: " + what);
  cmd->add_option("DIR", *dir, "Folder to write into (created when missing)")->required();
  cmd->callback([dir] {
    try {
      std::error_code error;
      std::filesystem::create_directories(*dir, error);
      if (error) throw std::runtime_error(*dir + ": cannot create the folder: " + error.message());
      for (const patchtool::SampleWriter& writer : patchtool::SampleWriters()) writer.write(*dir);
    } catch (const std::exception& e) {
      patchtool::PrintError(e.what());
      throw patchtool::Exit(1);
    }
  });
});

}  // namespace
