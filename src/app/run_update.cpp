#include "app/run_update.h"

#include "app/product_identity.h"
#include "engine/build_selection.h"
#include "engine/catalogue.h"
#include "i18n/messages.h"
#include "platform/files.h"

namespace upd {
namespace {

// Identification verdicts.
constexpr int kCurrent = 0;
constexpr int kPatchable = 1;
constexpr int kUnknownVersion = 2;
constexpr int kOpenError = 3;

// Messages of the run.
constexpr int kMessageOk = 267;
constexpr int kMessageError = 268;
constexpr int kMessageIntro = 271;
constexpr int kMessageProgress = 276;
constexpr int kMessageNoInstallDir = 277;
constexpr int kMessageFileMissing = 278;
constexpr int kMessageUnknownVersion = 279;
constexpr int kMessageOpenError = 280;

constexpr int kPatchKindPickFile = 4;

bool EndsWithSeparator(const std::string& s) { return !s.empty() && (s.back() == '\\' || s.back() == '/'); }

std::string WithBackslash(const std::string& s) { return EndsWithSeparator(s) ? s : s + "\\"; }

// The folder part of a full path, without its trailing separator.
std::string DirectoryPart(const std::string& path) {
  auto cut = path.find_last_of("\\/:");
  if (cut == std::string::npos) return {};
  // Keep the colon of a drive ("C:" stays "C:"); drop a separator.
  return path[cut] == ':' ? path.substr(0, cut + 1) : path.substr(0, cut);
}

// The text of a directory-list line after its first "=".
std::string FolderOf(const std::string& line) {
  auto eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

class Run {
 public:
  Run(RunHost& host, const RunServices& services) : host_(host), services_(services) {}

  void Execute() {
    host_.SetRunSucceeded(true);
    host_.SetRunFinished(false);
    update_needed_ = false;
    // The product's name and version are catalogue texts (code page 1250),
    // widened with the language's map, not the system's code page.
    host_.SetStatusText(FormatMessageWide(kMessageIntro, Language(),
                                          {WidenForLanguage(AnnouncedName(Language()), Language(), false),
                                           WidenForLanguage(AnnouncedVersion(), Language(), false)}));
    host_.SetRunButtonsEnabled(false);
    host_.ProcessPendingMessages();

    std::string dir;
    // Whatever a phase throws, the buttons come back and a verdict is shown;
    // the failure counts as a failed run.
    try {
      dir = FindInstallDir();
      if (dir.empty() || !platform::Files().DirectoryExists(dir)) {
        host_.SetRunSucceeded(false);
        host_.ShowError(GetMessageText(Language(), kMessageNoInstallDir));
      } else {
        dir = WithBackslash(dir);
        for (int entry = 1; entry <= kCatalogueEntries; ++entry)
          if (SelectedEntries().test(static_cast<size_t>(entry))) ProcessEntry(entry, dir);
      }
      if (services_.dictionaryPhase && services_.dictionaryPhase(host_, dir)) update_needed_ = true;
      if (services_.repairShortcuts) services_.repairShortcuts(dir);
    } catch (...) {
      host_.SetRunSucceeded(false);
    }

    host_.SetRunFinished(true);
    host_.SetRunButtonsEnabled(true);
    host_.ProcessPendingMessages();
    if (host_.RunSucceeded()) {
      host_.SetStatusText(GetMessageText(Language(), update_needed_ ? kMessageUpdated : kMessageNothingToDo));
      host_.FocusFinishButton();
    } else {
      host_.SetStatusText(GetMessageText(Language(), kMessageErrors));
    }
    host_.ProcessPendingMessages();
  }

 private:
  int Language() { return host_.DisplayLanguage(); }

  void Append(const std::u16string& text) { host_.SetStatusText(host_.StatusText() + text); }

  std::string FindInstallDir() {
    std::string dir = services_.getInstallDir(Product().AppId);
    if ((dir.empty() || !platform::Files().DirectoryExists(dir)) && PatchKind() == kPatchKindPickFile) {
      if (auto picked = host_.PickProgramFile()) dir = DirectoryPart(*picked);
    }
    return dir;
  }

  void ProcessEntry(int entry, const std::string& dir) {
    const TPatchPlikInfo& info = PatchCatalogue(entry);
    const std::string name(info.FileName);
    bool entry_ok = false;
    Append(FormatMessageText(kMessageProgress, Language(), {name}));
    host_.ProcessPendingMessages();

    // The installation directory first, then (for the Word templates) every
    // startup folder of Word.
    std::vector<std::string> lines;
    if ((entry == 29 || entry == 30) && services_.listWordStartupDirs) services_.listWordStartupDirs(lines);
    lines.insert(lines.begin(), "MAIN=" + dir);

    for (size_t k = 0; k < lines.size(); ++k) {
      const std::string path = WithBackslash(FolderOf(lines[k])) + name;
      if (platform::Files().FileExists(path)) {
        switch (services_.identifyFileVersion(entry, path)) {
          case kCurrent:
            entry_ok = true;
            break;
          case kPatchable:
            update_needed_ = true;
            entry_ok = services_.rebuildFile(entry, path);
            break;
          case kUnknownVersion:
            host_.ShowError(FormatMessageText(kMessageUnknownVersion, Language(), {path}));
            break;
          case kOpenError:
          default:
            host_.ShowError(FormatMessageText(kMessageOpenError, Language(), {path}));
            break;
        }
      } else if (info.CurrentSlot == 1) {
        // A file that exists in no older version is created.
        update_needed_ = true;
        entry_ok = services_.rebuildFile(entry, path);
      } else if (k == 0) {
        host_.ShowError(FormatMessageText(kMessageFileMissing, Language(), {path}));
      } else {
        entry_ok = true;  // not every startup folder holds the template
      }

      // Only the installation directory's outcome reaches the status text
      // and the verdict.
      if (k == 0) {
        if (entry_ok) {
          Append(GetMessageText(Language(), kMessageOk));
        } else {
          host_.SetRunSucceeded(false);
          Append(GetMessageText(Language(), kMessageError));
        }
      }
    }
  }

  RunHost& host_;
  const RunServices& services_;
  bool update_needed_ = false;
};

}  // namespace

void RunUpdate(RunHost& host, const RunServices& services) { Run(host, services).Execute(); }

void RunUpdate(RunHost& host) { RunUpdate(host, RunServices::Defaults()); }

}  // namespace upd
