#include <windows.h>

#include <algorithm>

#include "platform/fonts.h"

namespace upd::platform {
namespace {

// A window's device context, released on every path.
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

int CALLBACK CollectCharset(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
  reinterpret_cast<std::vector<uint8_t>*>(found)->push_back(font->lfCharSet);
  return 1;  // go on: every character set of the face counts
}

class Win32FontCatalog : public FontCatalog {
 public:
  std::vector<uint8_t> CharsetsOfFace(const std::u16string& face) override {
    std::vector<uint8_t> found;
    ScopedGetDC screen(GetDesktopWindow());
    if (!screen.Get()) return found;
    // All zero but the face and DEFAULT_CHARSET: the system enumerates the face
    // once for every character set it offers.
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    size_t length = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    for (size_t i = 0; i < length; ++i) query.lfFaceName[i] = static_cast<wchar_t>(face[i]);
    EnumFontFamiliesExW(screen.Get(), &query, CollectCharset, reinterpret_cast<LPARAM>(&found), 0);
    return found;
  }
};

}  // namespace

FontCatalog& FontCatalog::System() {
  static Win32FontCatalog instance;
  return instance;
}

}  // namespace upd::platform
