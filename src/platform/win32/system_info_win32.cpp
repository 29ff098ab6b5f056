#include <windows.h>

#include "platform/system_info.h"

namespace upd::platform {
namespace {

class Win32SystemInfo : public SystemInfo {
 public:
  uint32_t ThreadLocale() override { return GetThreadLocale(); }

  bool IsNtPlatform() override {
    // GetVersionEx is kept for this one question: its platform identifier is
    // what tells the NT family from the older systems, and no manifest affects it.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return true;  // only NT systems run x86-64 programs
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }

  std::u16string AnsiToUtf16(std::string_view text) override {
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
  }
};

}  // namespace

SystemInfo& SystemInfo::System() {
  static Win32SystemInfo instance;
  return instance;
}

}  // namespace upd::platform
