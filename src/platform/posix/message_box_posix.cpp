// Without a window system the box becomes a line on standard error.

#include <iostream>

#include "platform/message_box.h"

namespace upd::platform {
namespace {

class StderrMessageBox : public PlainMessageBox {
 public:
  void SetTitle(const std::string& title) override { title_ = title; }
  void Show(const std::string& text) override {
    std::cerr << (title_.empty() ? "" : title_ + ": ") << text << std::endl;
  }

 private:
  std::string title_;
};

}  // namespace

PlainMessageBox& PlainMessageBox::System() {
  static StderrMessageBox instance;
  return instance;
}

}  // namespace upd::platform
