// The update run's dictionary phase: every dictionary patch meant for the
// product, with a status line each and the progress timer on while it runs.

#include "dictionary/dictionary_patch.h"
#include "i18n/messages.h"

namespace upd {
namespace {

// Message ids of the phase's status lines.
constexpr int kMessageUpdating = 276;  // "File '%s' is being updated ... "
constexpr int kMessageOk = 267;        // "OK" and a line break
constexpr int kMessageError = 268;     // "Error" and a line break

std::string WithTrailingSeparator(const std::string& dir) {
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) return dir;
  return dir + '\\';
}

}  // namespace

bool DictionaryPhase(DictionaryHost& host, int appId, const std::string& installDir,
                     std::span<const TPatchSlownikInfo> patches) {
  bool someNotNew = false;
  for (const TPatchSlownikInfo& patch : patches) {
    if (appId < 0 || appId > 255 || !patch.AppIds.test(static_cast<size_t>(appId))) continue;
    try {
      host.SetStatusText(host.StatusText() +
                         FormatMessageText(kMessageUpdating, host.DisplayLanguage(), {patch.OldFile.Name}));
      host.ProgressCaption() = host.StatusText();
      host.EnableProgressTimer(true);
      const int32_t code = PatchDictionary(WithTrailingSeparator(installDir), patch, host.ProgressPercent(), host);
      host.EnableProgressTimer(false);
      if (code != kDictionaryAlreadyNew) someNotNew = true;
      if (code == kDictionaryUpdateFailed) host.SetRunSucceeded(false);
      const bool shownAsSuccess = code == kDictionaryAlreadyNew || code == kDictionaryPatched;
      const int message = shownAsSuccess ? kMessageOk : kMessageError;
      host.SetStatusText(host.ProgressCaption() + GetMessageText(host.DisplayLanguage(), message));
    } catch (...) {
      // Only the window's own calls can get here; the dictionary is whole.
      someNotNew = true;
      try {
        host.EnableProgressTimer(false);
      } catch (...) {
      }
    }
  }
  return someNotNew;
}

}  // namespace upd
