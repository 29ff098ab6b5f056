#include <windows.h>

#include "platform/message_box.h"
#include "platform/win32/win_text.h"

namespace upd::platform {
namespace {

class Win32MessageBox : public PlainMessageBox {
 public:
  void SetTitle(const std::string& title) override { title_ = win32::AnsiToWide(title); }
  void Show(const std::string& text) override {
    MessageBoxW(nullptr, win32::AnsiToWide(text).c_str(), title_.c_str(), MB_OK);
  }

 private:
  std::wstring title_;
};

}  // namespace

PlainMessageBox& PlainMessageBox::System() {
  static Win32MessageBox instance;
  return instance;
}

}  // namespace upd::platform
