#pragma once
// A file layer that wraps another one (normally the system's) and fails the
// Nth operation, in the spirit of SQLite's test VFS. Counted operations: open,
// create, read, seek, write, flush, close, delete, rename, replace. Queries
// (exists, size) are never failed.
//
//   FaultInjectingFileSystem faulty;
//   faulty.FailAt(3, Fault::DiskFull, /*persistent=*/false);
//   platform::ScopedOverride<platform::FileSystem> use(faulty);
//
// Persistent faults model a crash or a pulled plug: from the Nth operation on,
// nothing reaches the disk any more. A crash-matrix test runs the operation once
// cleanly to learn OperationCount(), then once per N with a persistent fault at N,
// and checks that every file is entirely old or entirely new.

#include <memory>
#include <string>

#include "platform/files.h"

namespace upd::testing {

enum class Fault {
  Error,         // the operation fails and changes nothing
  DiskFull,      // a write fails with nothing written
  ShortWrite,    // a write puts half of its bytes on disk, then fails
};

// Called whenever a fault fires; a place for a breakpoint.
void FaultPoint();

class FaultInjectingFileSystem : public platform::FileSystem {
 public:
  explicit FaultInjectingFileSystem(platform::FileSystem& inner = platform::FileSystem::System()) : inner_(inner) {}

  // Fail operation number `n` (counting from 1 after the last Reset). With
  // `persistent` every later operation fails as well. n = 0 disarms.
  void FailAt(int n, Fault kind = Fault::Error, bool persistent = false) {
    fail_at_ = n;
    kind_ = kind;
    persistent_ = persistent;
  }
  void Reset() {
    count_ = 0;
    fail_at_ = 0;
    fired_ = 0;
  }
  int OperationCount() const { return count_; }
  int FaultsFired() const { return fired_; }

  // Decides whether the operation that is about to run fails; counts it.
  bool NextFails();
  Fault Kind() const { return kind_; }
  platform::FileSystem& Inner() { return inner_; }

  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateTruncate(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  std::string LastErrorText() override { return injected_ ? "injected fault" : inner_.LastErrorText(); }

 private:
  platform::FileSystem& inner_;
  int count_ = 0;
  int fail_at_ = 0;
  int fired_ = 0;
  bool persistent_ = false;
  bool injected_ = false;
  Fault kind_ = Fault::Error;
};

}  // namespace upd::testing
