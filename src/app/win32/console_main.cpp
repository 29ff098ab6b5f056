// updater-console.exe: the unattended update for administrators who deploy by
// script. No options; the display language is the one the window would start
// in. Status lines go to standard output, dialog texts to standard error; text
// goes out as UTF-16 to a console and as UTF-8 when redirected. Exit status 0
// when the run succeeded (updated, or nothing to do), 1 after errors.

#include <windows.h>

#include <objbase.h>

#include <string>

#include "app/console_host.h"
#include "app/run_update.h"
#include "app/single_instance.h"
#include "app/start_up.h"
#include "app/this_build.h"

namespace {

void WriteText(HANDLE out, const std::u16string& text) {
  if (text.empty()) return;
  DWORD mode = 0, written = 0;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, wide, static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
  WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int main() {
  upd::SingleInstance instance;
  if (!instance.Acquired()) {
    WriteText(GetStdHandle(STD_ERROR_HANDLE), u"Another copy of the updater is running.\n");
    return 2;
  }
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  upd::StartUp(upd::ThisBuild());

  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  upd::ConsoleHost host(
      upd::InitialDisplayLanguage(), [out](const std::u16string& t) { WriteText(out, t); },
      [err](const std::u16string& t) { WriteText(err, t); });
  upd::RunUpdate(host);
  host.Finish();

  if (SUCCEEDED(com)) CoUninitialize();
  return host.ExitStatus();
}
