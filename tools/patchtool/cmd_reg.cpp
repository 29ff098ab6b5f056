// patchtool reg: a REGEDIT4 file that records DIR as the installation
// directory of a product the way the product's installer does (scrambled value
// name and contents under the product's key; a scrambled "ForceNewReg" number
// with --new-format), ready for `reg import`. AppId -1 writes the legacy
// location (machine's hive, plain name and contents).
//
//   patchtool reg --app-id 4 "C:\Program Files (x86)\Varsko\RavOveze2\" [--hive HKCU|HKLM] [--new-format] [-o FILE]
//
// The installer is a 32-bit program, so on 64-bit Windows its machine-wide
// values live in the 32-bit view: import HKLM files with `reg import FILE /reg:32`.

#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "command.h"
#include "install/install_dir.h"
#include "install/reg_file.h"
#include "platform/files.h"

namespace {

struct RegOptions {
  int appId = 0;
  std::string dir;
  std::string hive = "HKCU";
  bool newFormat = false;
  std::string output;
};

[[noreturn]] void Fail(const std::string& message) {
  patchtool::PrintError(message);
  throw patchtool::Exit(1);
}

upd::RegFileKey Record(const RegOptions& o) {
  const std::string root = o.hive == "HKLM" ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
  upd::RegFileKey key;
  if (o.appId == -1) {
    if (o.hive != "HKLM") Fail("the legacy location (--app-id -1) is read from HKLM only");
    if (o.newFormat) Fail("the legacy location (--app-id -1) has no scrambling format");
    key.path = root + std::string(upd::LegacyInstallKey);
    key.values.push_back({std::string(upd::InstallDirValueName), false, o.dir, 0});
    return key;
  }
  key.path = root + std::string(upd::ProductRegKeys[o.appId]);
  upd::ScrambledValue dir = upd::ScrambleInstallDir(o.appId, o.dir, o.newFormat);
  key.values.push_back({dir.name, false, dir.contents, 0});
  if (o.newFormat) key.values.push_back({upd::NewRegFormatValueNameFor(o.appId), true, "", 1});
  return key;
}

// Through a temporary file beside the target, moved over it only when whole.
void WriteWhole(const std::string& path, const std::string& text) {
  auto& files = upd::platform::Files();
  const std::string temp = path + ".part";
  auto out = files.CreateTruncate(temp);
  if (!out) Fail("cannot create " + temp + ": " + files.LastErrorText());
  bool ok = out->Write(text.data(), text.size()) && out->Flush() && out->Close();
  out.reset();
  if (!ok || !files.ReplaceFile(temp, path)) {
    std::string why = files.LastErrorText();
    files.Delete(temp);
    Fail("cannot write " + path + ": " + why);
  }
}

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto opts = std::make_shared<RegOptions>();
  auto* cmd = app.add_subcommand("reg", "Write a .reg file that records an installation directory as the product's installer does");
  cmd->footer(
      "Import with `reg import FILE`; for HKLM add /reg:32, the 32-bit view where the product's 32-bit installer writes.");
  cmd->add_option("--app-id", opts->appId, "Product (AppId 1..13, or -1 for the legacy location)")
      ->required()
      ->check(CLI::Range(1, 13) | CLI::IsMember({-1}));
  cmd->add_option("DIR", opts->dir, "The installation directory, stored exactly as given")->required();
  cmd->add_option("--hive", opts->hive, "HKCU (the current user) or HKLM (the machine)")
      ->check(CLI::IsMember({"HKCU", "HKLM"}))
      ->capture_default_str();
  cmd->add_flag("--new-format", opts->newFormat, "Also record ForceNewReg, which selects the three-class format");
  cmd->add_option("-o,--output", opts->output, "The .reg file (standard output when missing)");
  cmd->callback([opts] {
    std::string error;
    auto text = upd::MakeRegFile(Record(*opts), error);
    if (!text) Fail(error);
    if (opts->output.empty()) {
#ifdef _WIN32
      std::cout.flush();
      _setmode(_fileno(stdout), _O_BINARY);  // the file's own CR LF, not doubled
#endif
      std::cout << *text;
      std::cout.flush();
    } else {
      WriteWhole(opts->output, *text);
    }
  });
});

}  // namespace
