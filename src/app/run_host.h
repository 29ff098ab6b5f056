#pragma once
// What the update run needs of its window. The window implements it; tests use
// a headless host that records everything; the console program prints.

#include <cstdint>
#include <optional>
#include <string>

namespace upd {

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The main status text (the window's main label).
  virtual std::u16string StatusText() = 0;
  virtual void SetStatusText(const std::u16string& text) = 0;
  // Enables or disables the Update and Finish buttons together.
  virtual void SetRunButtonsEnabled(bool enabled) = 0;
  // Handles every pending window message once (repaint, input, timer ticks).
  virtual void ProcessPendingMessages() = 0;
  // Asks the user for the product's program file; nullopt when cancelled.
  virtual std::optional<std::string> PickProgramFile() = 0;
  // Shows the message dialog with one OK button and returns when it is closed.
  virtual void ShowError(const std::u16string& text) = 0;
  virtual void FocusFinishButton() = 0;
  // The display language of every text, read afresh at each lookup.
  virtual int DisplayLanguage() = 0;

  virtual bool RunSucceeded() = 0;
  virtual void SetRunSucceeded(bool value) = 0;
  virtual bool RunFinished() = 0;
  virtual void SetRunFinished(bool value) = 0;

  // The dictionary phase's progress display: while the timer is on, each tick
  // shows ProgressCaption followed by ProgressPercent and "%".
  virtual void SetProgressTimerEnabled(bool enabled) = 0;
  virtual int32_t& ProgressPercent() = 0;
  virtual std::u16string ProgressCaption() = 0;
  virtual void SetProgressCaption(const std::u16string& text) = 0;
};

}  // namespace upd
