#pragma once
// What the dictionary update needs of the update window. The window implements
// it; the update run's host (RunHost) extends it. There is one thread: the
// window handles its messages (repaints, timer ticks, clicks) only when the
// update calls ProcessPendingMessages.

#include <cstdint>
#include <string>

namespace upd {

// The one thing the edit-script application needs: a chance for the window to
// handle its pending messages, once per script record.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void ProcessPendingMessages() = 0;
};

// For callers without a window (tools, benchmarks, tests): nothing to handle.
class NoMessages : public MessagePump {
 public:
  void ProcessPendingMessages() override {}
};

class DictionaryHost : public MessagePump {
 public:
  // The text of the window's main label, to which the phases append lines.
  virtual std::u16string StatusText() = 0;
  virtual void SetStatusText(const std::u16string& text) = 0;
  // The language the texts are looked up in (0 Polish, 1 English, ...).
  virtual uint8_t DisplayLanguage() = 0;
  // Switches the progress timer on or off. While it is on, each tick handled
  // sets the status text to ProgressStatusText(ProgressCaption(), ProgressPercent()).
  virtual void EnableProgressTimer(bool enabled) = 0;
  // The percentage of the running patch, written by the script application.
  virtual int32_t& ProgressPercent() = 0;
  // The status text as it stood when the running patch started.
  virtual std::u16string& ProgressCaption() = 0;
  // The run's success flag: a dictionary found at its old version whose
  // update then failed clears it.
  virtual void SetRunSucceeded(bool value) = 0;
};

// What a tick of the progress timer shows: the caption, the percentage in
// decimal and "%".
std::u16string ProgressStatusText(const std::u16string& caption, int32_t percent);

}  // namespace upd
