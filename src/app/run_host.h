#pragma once
// What the update run needs of its window. The window implements it; tests use
// a headless host that records everything; the console program prints. The
// status text, display language, message pump and progress display come from
// what the dictionary phase needs of the window.

#include <optional>
#include <string>

#include "dictionary/dictionary_host.h"

namespace upd {

class RunHost : public DictionaryHost {
 public:
  // Enables or disables the Update and Finish buttons together.
  virtual void SetRunButtonsEnabled(bool enabled) = 0;
  // Asks the user for the product's program file; nullopt when cancelled.
  virtual std::optional<std::string> PickProgramFile() = 0;
  // Shows the message dialog with one OK button and returns when it is closed.
  virtual void ShowError(const std::u16string& text) = 0;
  virtual void FocusFinishButton() = 0;

  // The window's run flags (SetRunSucceeded comes from DictionaryHost).
  virtual bool RunSucceeded() = 0;
  virtual bool RunFinished() = 0;
  virtual void SetRunFinished(bool value) = 0;
};

}  // namespace upd
