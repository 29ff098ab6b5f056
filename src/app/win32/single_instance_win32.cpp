#include <windows.h>

#include "app/single_instance.h"

namespace upd {

SingleInstance::SingleInstance() {
  // Local\ keeps it per session; one updater per user session is what matters.
  HANDLE h = CreateMutexW(nullptr, TRUE, L"Local\\VarskoUpdater.SingleInstance");
  handle_ = h;
  acquired_ = h != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (handle_) {
    if (acquired_) ReleaseMutex(static_cast<HANDLE>(handle_));
    CloseHandle(static_cast<HANDLE>(handle_));
  }
}

}  // namespace upd
