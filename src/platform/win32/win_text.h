#pragma once
// Conversions at the Win32 call: the logic keeps single-byte ANSI strings,
// the W functions take UTF-16.

#include <windows.h>

#include <optional>
#include <string>

namespace upd::platform::win32 {

inline std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// The ANSI code page's bytes for `text`, or nullopt when a character has no
// byte there (a path like that could not be used through the ANSI layer).
inline std::optional<std::string> WideToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

inline std::string WideToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// The system's text for a Win32 error code, in UTF-8, without the trailing line break.
inline std::string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"Windows error " + std::to_wstring(code);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return WideToUtf8(text);
}

// Closes a kernel handle on every path; knows both invalid values.
class AutoCloseHandle {
 public:
  explicit AutoCloseHandle(HANDLE h = nullptr) : h_(h) {}
  ~AutoCloseHandle() { Close(); }
  AutoCloseHandle(const AutoCloseHandle&) = delete;
  AutoCloseHandle& operator=(const AutoCloseHandle&) = delete;
  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    HANDLE h = h_;
    h_ = nullptr;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

}  // namespace upd::platform::win32
