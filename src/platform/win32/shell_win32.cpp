// Win32 shell: SHGetFolderPathW for the application-data folder, the shell
// link object (IShellLinkA + IPersistFile) for shortcuts. The caller's thread
// has initialised COM.

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/shell.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win_text.h"

namespace upd::platform {
namespace {

class Win32Shell : public Shell {
 public:
  std::string AppDataFolder() override {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return win32::WideToAnsi(path).value_or(std::string());
  }

  bool WriteShortcut(const std::string& linkFile, const ShortcutLink& link) override {
    win32::ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.Out())))
      return false;
    win32::ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Out()))) return false;
    // The link's own strings are ANSI, as the logic holds them; only the file
    // name goes through UTF-16. Argument and icon are left unset.
    shellLink->SetPath(link.target.c_str());
    shellLink->SetWorkingDirectory(link.workingDir.c_str());
    shellLink->SetDescription(link.description.c_str());
    // FALSE: the object does not take the file as its current one.
    return SUCCEEDED(file->Save(win32::AnsiToWide(linkFile).c_str(), FALSE));
  }
};

}  // namespace

Shell& Shell::System() {
  static Win32Shell instance;
  return instance;
}

}  // namespace upd::platform
