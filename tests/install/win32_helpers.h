#pragma once
// Helpers of the Windows-only install tests: running a program and waiting for
// it, writing and removing registry keys in the test's setup (the updater
// itself only reads), COM for the calling thread.

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace upd::testing {

// One argument quoted so that the C runtime's parser gives it back unchanged.
inline std::wstring QuoteArg(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

// Runs `program` with `args` and waits; answers its exit code, or -1 when it
// could not be started.
inline int Run(const std::wstring& program, const std::vector<std::wstring>& args) {
  std::wstring line = QuoteArg(program);
  for (const auto& a : args) line += L" " + QuoteArg(a);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return -1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

// The folder of the running test program, with a trailing backslash.
inline std::wstring ProgramDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// Machine keys are written where the product's 32-bit installer writes them,
// unless a test asks for the 64-bit view on purpose.
enum class View { Shared, Wow32, Wow64 };

inline REGSAM ViewFlag(View view) {
  return view == View::Wow32 ? KEY_WOW64_32KEY : view == View::Wow64 ? KEY_WOW64_64KEY : 0;
}

inline bool SetRegString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
                         View view = View::Wow32) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | ViewFlag(view), nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

inline bool SetRegDword(HKEY root, const std::string& path, const std::string& name, DWORD value,
                        View view = View::Wow32) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | ViewFlag(view), nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// Removes `parent`\`child` with everything under it, in the given view.
inline void DeleteRegTree(HKEY root, const wchar_t* parent, const wchar_t* child, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, parent, 0, KEY_ALL_ACCESS | ViewFlag(view), &key) != ERROR_SUCCESS) return;
  RegDeleteTreeW(key, child);
  RegCloseKey(key);
}

// COM for the calling thread, as the application initialises it at start.
class ScopedCom {
 public:
  ScopedCom() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ScopedCom() {
    if (ok_) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  bool ok_;
};

}  // namespace upd::testing
