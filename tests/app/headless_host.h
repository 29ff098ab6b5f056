#pragma once
// A RunHost without a window: records every status text, dialog, button state
// and focus change; answers PickProgramFile from a prepared answer; can switch
// the display language at a chosen ProcessPendingMessages call, as a click on a
// language button would during a run.

#include <optional>
#include <string>
#include <vector>

#include "app/product_identity.h"
#include "app/run_host.h"
#include "i18n/messages.h"

namespace upd::testing {

class HeadlessHost : public RunHost {
 public:
  explicit HeadlessHost(int language = kPolish) : language_(language) {}

  // Answer of PickProgramFile (nullopt: the user cancels). Counts the calls.
  std::optional<std::string> pick_answer;
  int pick_calls = 0;
  // Switch to `language` during the `call`-th ProcessPendingMessages (1-based).
  void SwitchLanguageAt(int call, int language) {
    switch_at_ = call;
    switch_to_ = language;
  }

  std::vector<std::u16string> status_history;  // every text given to SetStatusText
  std::vector<std::u16string> dialogs;         // texts of ShowError, in order
  std::vector<bool> button_states;             // every SetRunButtonsEnabled
  int focus_finish_calls = 0;
  int process_calls = 0;
  std::vector<bool> timer_states;

  std::u16string StatusText() override { return status_; }
  void SetStatusText(const std::u16string& text) override {
    status_ = text;
    status_history.push_back(text);
  }
  void SetRunButtonsEnabled(bool enabled) override { button_states.push_back(enabled); }
  void ProcessPendingMessages() override {
    if (++process_calls == switch_at_) {
      // What the window's language button does: the new language, and while no
      // run has finished, the introduction text in it.
      language_ = switch_to_;
      if (!finished_)
        SetStatusText(FormatMessageText(271, language_, {AnnouncedName(language_), AnnouncedVersion()}));
    }
  }
  std::optional<std::string> PickProgramFile() override {
    ++pick_calls;
    return pick_answer;
  }
  void ShowError(const std::u16string& text) override { dialogs.push_back(text); }
  void FocusFinishButton() override { ++focus_finish_calls; }
  uint8_t DisplayLanguage() override { return language_; }
  bool RunSucceeded() override { return succeeded_; }
  void SetRunSucceeded(bool value) override { succeeded_ = value; }
  bool RunFinished() override { return finished_; }
  void SetRunFinished(bool value) override { finished_ = value; }
  void EnableProgressTimer(bool enabled) override { timer_states.push_back(enabled); }
  int32_t& ProgressPercent() override { return percent_; }
  std::u16string& ProgressCaption() override { return caption_; }

 private:
  int language_;
  std::u16string status_;
  bool succeeded_ = false;
  bool finished_ = false;
  int32_t percent_ = 0;
  std::u16string caption_;
  int switch_at_ = 0;
  int switch_to_ = 0;
};

}  // namespace upd::testing
