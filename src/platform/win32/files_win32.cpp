// Win32 file layer: W functions after widening the ANSI path. Short-lived locks
// (antivirus, indexer, the product itself starting) are retried a few times with
// growing delays before an operation counts as failed.

#include <windows.h>

#include "platform/files.h"
#include "platform/win32/win_text.h"

namespace upd::platform {
namespace {

using win32::AnsiToWide;
using win32::AutoCloseHandle;

DWORD& LastError() {
  static DWORD value = 0;
  return value;
}

bool Fail() {
  LastError() = GetLastError();
  return false;
}

bool IsTransientLock(DWORD code) {
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Runs `attempt` until it succeeds, fails for another reason than a lock, or
// the delays (50 + 100 + 200 + 400 ms) are used up.
template <class Attempt>
auto WithLockRetries(Attempt attempt) {
  DWORD delay = 50;
  for (int retry = 0;; ++retry) {
    auto result = attempt();
    if (result || retry == 4 || !IsTransientLock(GetLastError())) return result;
    Sleep(delay);
    delay *= 2;
  }
}

class Win32Input : public InputFile {
 public:
  explicit Win32Input(HANDLE h) : h_(h) {}

  std::optional<int64_t> Size() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h_.Get(), &size)) return Fail(), std::nullopt;
    return static_cast<int64_t>(size.QuadPart);
  }

  std::optional<size_t> Read(void* buffer, size_t count) override {
    DWORD got = 0;
    DWORD want = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (!ReadFile(h_.Get(), buffer, want, &got, nullptr)) return Fail(), std::nullopt;
    position_ += got;
    return static_cast<size_t>(got);
  }

  bool Seek(int64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    if (offset < 0 || !SetFilePointerEx(h_.Get(), to, nullptr, FILE_BEGIN)) return Fail();
    position_ = offset;
    return true;
  }

  int64_t Position() const override { return position_; }

 private:
  AutoCloseHandle h_;
  int64_t position_ = 0;
};

class Win32Output : public OutputFile {
 public:
  explicit Win32Output(HANDLE h) : h_(h) {}

  bool Write(const void* data, size_t count) override {
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
      DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
      DWORD put = 0;
      if (!WriteFile(h_.Get(), p, chunk, &put, nullptr)) return Fail();
      if (put == 0) {
        SetLastError(ERROR_DISK_FULL);
        return Fail();
      }
      p += put;
      count -= put;
    }
    return true;
  }

  bool Flush() override { return FlushFileBuffers(h_.Get()) || Fail(); }

  bool Close() override { return h_.Close() || Fail(); }

 private:
  AutoCloseHandle h_;
};

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    DWORD attr = GetFileAttributesW(AnsiToWide(path).c_str());
    return !path.empty() && attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::string& path) override {
    DWORD attr = GetFileAttributesW(AnsiToWide(path).c_str());
    return !path.empty() && attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::unique_ptr<InputFile> OpenRead(const std::string& path) override {
    std::wstring wide = AnsiToWide(path);
    HANDLE h = WithLockRetries([&] {
      HANDLE opened = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
      return opened == INVALID_HANDLE_VALUE ? nullptr : opened;
    });
    if (!h) return Fail(), nullptr;
    return std::make_unique<Win32Input>(h);
  }

  std::unique_ptr<OutputFile> CreateTruncate(const std::string& path) override {
    std::wstring wide = AnsiToWide(path);
    HANDLE h = WithLockRetries([&] {
      HANDLE opened = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      return opened == INVALID_HANDLE_VALUE ? nullptr : opened;
    });
    if (!h) return Fail(), nullptr;
    return std::make_unique<Win32Output>(h);
  }

  bool Delete(const std::string& path) override {
    std::wstring wide = AnsiToWide(path);
    return WithLockRetries([&] { return DeleteFileW(wide.c_str()) != 0; }) || Fail();
  }

  bool Rename(const std::string& from, const std::string& to) override {
    std::wstring a = AnsiToWide(from), b = AnsiToWide(to);
    return WithLockRetries([&] { return MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_WRITE_THROUGH) != 0; }) ||
           Fail();
  }

  bool ReplaceFile(const std::string& from, const std::string& to) override {
    std::wstring a = AnsiToWide(from), b = AnsiToWide(to);
    // Windows refuses to replace a file marked read-only; Wine replaces it.
    // Asked first, the refusal is the same on both.
    DWORD attr = GetFileAttributesW(b.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return Fail();
    }
    return WithLockRetries([&] {
             return MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
           }) ||
           Fail();
  }

  std::string LastErrorText() override { return win32::ErrorText(LastError()); }
};

}  // namespace

FileSystem& FileSystem::System() {
  static Win32FileSystem instance;
  return instance;
}

}  // namespace upd::platform
