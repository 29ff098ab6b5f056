#pragma once
// The update run: what the Update button starts. It finds the installation,
// brings every selected catalogue file to its new version, lets the dictionary
// and shortcut phases do their work, and ends with one verdict. It reaches the
// window only through RunHost.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/run_host.h"

namespace upd {

// The places where later phases plug into the run, and the services it calls.
// Defaults() gives the real ones; tests replace single members.
struct RunServices {
  std::function<std::string(int32_t appId)> getInstallDir;
  std::function<int(int entry, const std::string& path)> identifyFileVersion;
  std::function<bool(int entry, const std::string& path)> rebuildFile;
  std::function<int32_t(std::vector<std::string>& lines)> listWordStartupDirs;
  std::function<bool(RunHost& host, const std::string& installDir)> dictionaryPhase;
  std::function<void(const std::string& installDir)> repairShortcuts;

  static RunServices Defaults();
};

// Verdict messages of a run.
inline constexpr int kMessageUpdated = 272;
inline constexpr int kMessageErrors = 273;
inline constexpr int kMessageNothingToDo = 274;

// Runs one update with the real services.
void RunUpdate(RunHost& host);
void RunUpdate(RunHost& host, const RunServices& services);

}  // namespace upd
