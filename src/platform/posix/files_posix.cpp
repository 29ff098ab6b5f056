// Portable file layer for Linux builds and tests: POSIX calls, '\' read as '/'.
// POSIX has no sharing modes, so "others denied writing" is not enforced here;
// the Win32 layer enforces it.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

namespace upd::platform {
namespace {

std::string NativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

int& LastErrno() {
  static int value = 0;
  return value;
}

bool Fail() {
  LastErrno() = errno;
  return false;
}

class PosixInput : public InputFile {
 public:
  explicit PosixInput(int fd) : fd_(fd) {}
  ~PosixInput() override { ::close(fd_); }

  std::optional<int64_t> Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return Fail(), std::nullopt;
    return static_cast<int64_t>(st.st_size);
  }

  std::optional<size_t> Read(void* buffer, size_t count) override {
    for (;;) {
      ssize_t got = ::read(fd_, buffer, count);
      if (got >= 0) {
        position_ += got;
        return static_cast<size_t>(got);
      }
      if (errno != EINTR) return Fail(), std::nullopt;
    }
  }

  bool Seek(int64_t offset) override {
    if (offset < 0 || ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return Fail();
    position_ = offset;
    return true;
  }

  int64_t Position() const override { return position_; }

 private:
  int fd_;
  int64_t position_ = 0;
};

class PosixOutput : public OutputFile {
 public:
  explicit PosixOutput(int fd) : fd_(fd) {}
  ~PosixOutput() override { Close(); }

  bool Write(const void* data, size_t count) override {
    if (fd_ < 0) return false;
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
      ssize_t put = ::write(fd_, p, count);
      if (put < 0) {
        if (errno == EINTR) continue;
        return Fail();
      }
      if (put == 0) {
        errno = ENOSPC;
        return Fail();
      }
      p += put;
      count -= static_cast<size_t>(put);
    }
    return true;
  }

  bool Flush() override { return fd_ >= 0 && (::fsync(fd_) == 0 || Fail()); }

  bool Close() override {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || Fail();
  }

 private:
  int fd_;
};

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  std::unique_ptr<InputFile> OpenRead(const std::string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(), nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      if (S_ISDIR(st.st_mode)) errno = EISDIR;
      Fail();
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixInput>(fd);
  }

  std::unique_ptr<OutputFile> CreateTruncate(const std::string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(), nullptr;
    return std::make_unique<PosixOutput>(fd);
  }

  bool Delete(const std::string& path) override { return ::unlink(NativePath(path).c_str()) == 0 || Fail(); }

  bool Rename(const std::string& from, const std::string& to) override {
    if (::renameat2(AT_FDCWD, NativePath(from).c_str(), AT_FDCWD, NativePath(to).c_str(), RENAME_NOREPLACE) == 0)
      return SyncParent(to);
    return Fail();
  }

  bool ReplaceFile(const std::string& from, const std::string& to) override {
    // Windows refuses to replace a file marked read-only, whoever asks. The
    // owner's write bit stands for that mark here: rename(2) itself would
    // replace the file, and root passes every permission check.
    struct stat st;
    if (::stat(NativePath(to).c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
      errno = EACCES;
      return Fail();
    }
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) return Fail();
    return SyncParent(to);
  }

  std::string LastErrorText() override { return std::strerror(LastErrno()); }

 private:
  // A rename is durable once the folder that holds the name is synced.
  static bool SyncParent(const std::string& path) {
    std::string native = NativePath(path);
    auto slash = native.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;  // the rename happened; durability is best effort here
    ::fsync(fd);
    ::close(fd);
    return true;
  }
};

}  // namespace

FileSystem& FileSystem::System() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace upd::platform
