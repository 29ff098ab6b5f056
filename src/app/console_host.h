#pragma once
// The host of unattended updates: the same run as the window's, reported as
// text. Status lines are printed as they grow; a replaced status text (the
// verdict) starts a new line; dialog texts go to the error channel; no program
// file can be picked.

#include <functional>
#include <string>

#include "app/run_host.h"

namespace upd {

class ConsoleHost : public RunHost {
 public:
  using Writer = std::function<void(const std::u16string&)>;

  ConsoleHost(int displayLanguage, Writer out, Writer err)
      : language_(displayLanguage), out_(std::move(out)), err_(std::move(err)) {}

  // Ends the output with a line break; call once the run is over.
  void Finish();
  // 0 when the run succeeded (updated or nothing to do), 1 after errors.
  int ExitStatus() const { return succeeded_ ? 0 : 1; }

  std::u16string StatusText() override { return status_; }
  void SetStatusText(const std::u16string& text) override;
  void SetRunButtonsEnabled(bool) override {}
  void ProcessPendingMessages() override {}
  std::optional<std::string> PickProgramFile() override { return std::nullopt; }
  void ShowError(const std::u16string& text) override { err_(text + u"\n"); }
  void FocusFinishButton() override {}
  uint8_t DisplayLanguage() override { return language_; }
  bool RunSucceeded() override { return succeeded_; }
  void SetRunSucceeded(bool value) override { succeeded_ = value; }
  bool RunFinished() override { return finished_; }
  void SetRunFinished(bool value) override { finished_ = value; }
  void EnableProgressTimer(bool) override {}
  int32_t& ProgressPercent() override { return percent_; }
  std::u16string& ProgressCaption() override { return caption_; }

 private:
  int language_;
  Writer out_;
  Writer err_;
  std::u16string status_;
  bool at_line_start_ = true;
  bool succeeded_ = false;
  bool finished_ = false;
  int32_t percent_ = 0;
  std::u16string caption_;
};

}  // namespace upd
