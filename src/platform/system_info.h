#pragma once
// System facts of the platform seam: the thread's locale, whether the system is
// of the NT family, and the system's single-byte (ANSI) code page, through which
// paths and other registry texts become UTF-16.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace upd::platform {

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  static SystemInfo& System();

  // The calling thread's Windows locale identifier (LCID), such as 0x0415 Polish.
  virtual uint32_t ThreadLocale() = 0;
  virtual bool IsNtPlatform() = 0;
  // Widens text of the system's single-byte code page to UTF-16.
  virtual std::u16string AnsiToUtf16(std::string_view text) = 0;
};

inline SystemInfo& Sys() { return Use<SystemInfo>(); }

// Facts chosen by the caller: the system implementation on Linux (a Polish
// NT system with code page 1250) and the fixture of the tests.
class PortableSystemInfo : public SystemInfo {
 public:
  using CodePage = std::array<char16_t, 256>;  // one UTF-16 code unit per byte

  PortableSystemInfo();
  void SetThreadLocale(uint32_t locale) { locale_ = locale; }
  void SetNtPlatform(bool nt) { nt_ = nt; }
  // The table stays the caller's and must outlive this object.
  void SetAnsiCodePage(const CodePage& table) { ansi_ = &table; }

  uint32_t ThreadLocale() override { return locale_; }
  bool IsNtPlatform() override { return nt_; }
  std::u16string AnsiToUtf16(std::string_view text) override;

 private:
  uint32_t locale_ = 0x0415;
  bool nt_ = true;
  const CodePage* ansi_;
};

}  // namespace upd::platform
