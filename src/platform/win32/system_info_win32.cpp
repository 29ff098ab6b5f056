#include <windows.h>

#include "platform/system_info.h"
#include "platform/win32/win_text.h"

namespace upd::platform {
namespace {

class Win32SystemInfo : public SystemInfo {
 public:
  uint32_t ThreadLocale() override { return GetThreadLocale(); }

  bool IsNtPlatform() override {
    // The version numbers GetVersionEx reports depend on the manifest; the
    // platform identifier, which tells the NT family from the older systems,
    // does not.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return true;  // only NT systems run x86-64 programs
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }

  std::u16string AnsiToUtf16(std::string_view text) override {
    const std::wstring wide = win32::AnsiToWide(std::string(text));
    return std::u16string(wide.begin(), wide.end());
  }
};

}  // namespace

SystemInfo& SystemInfo::System() {
  static Win32SystemInfo instance;
  return instance;
}

}  // namespace upd::platform
