#pragma once
// A plain message box with one OK button, for the few texts shown before any
// window exists. It carries the application's title.

#include <string>

#include "platform/service.h"

namespace upd::platform {

class PlainMessageBox {
 public:
  virtual ~PlainMessageBox() = default;
  static PlainMessageBox& System();
  // Sets the title of later boxes (the application's title).
  virtual void SetTitle(const std::string& title) = 0;
  // Shows `text` (ANSI code page) and returns when the user closed the box.
  virtual void Show(const std::string& text) = 0;
};

// Records what it was asked to show; for tests.
class RecordingMessageBox : public PlainMessageBox {
 public:
  void SetTitle(const std::string& title) override { title_ = title; }
  void Show(const std::string& text) override { shown_ += text + "\n"; }
  const std::string& Title() const { return title_; }
  const std::string& Shown() const { return shown_; }

 private:
  std::string title_;
  std::string shown_;
};

}  // namespace upd::platform
