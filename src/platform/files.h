#pragma once
// File service of the platform seam. Paths are single-byte strings in the ANSI
// code page, as the registry and the catalogue give them; the Win32 layer widens
// them at the call, the portable layer reads '\' as '/'.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/service.h"

namespace upd::platform {

// A file open for reading. Others may read it too but may not write it while
// it is open.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Size in bytes, or nullopt when the system cannot tell.
  virtual std::optional<int64_t> Size() = 0;
  // Reads up to `count` bytes at the current position and advances it. Answers
  // the number of bytes read (0 only at the end of the file), or nullopt on an
  // I/O error.
  virtual std::optional<size_t> Read(void* buffer, size_t count) = 0;
  virtual bool Seek(int64_t offset) = 0;
  virtual int64_t Position() const = 0;
};

// A file open for writing from its start (created or truncated).
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all `count` bytes or fails; a short write is a failure.
  virtual bool Write(const void* data, size_t count) = 0;
  // Pushes what was written through to the disk.
  virtual bool Flush() = 0;
  // Closes the file; the destructor closes too, but only Close reports errors.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  static FileSystem& System();

  // True for an existing regular file; a directory of that name does not count.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Opens for reading with others denied writing; nullptr when that fails
  // (missing, no access, held open for writing by someone else).
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;
  // Creates the file empty, replacing the contents of an existing one.
  virtual std::unique_ptr<OutputFile> CreateTruncate(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Renames `from` to `to`; fails when `to` exists.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Moves `from` over `to` in one step (replacing `to` when it exists), written
  // through to the disk before it answers.
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  // The system's description of the last failure of this layer, for messages.
  virtual std::string LastErrorText() = 0;
};

inline FileSystem& Files() { return Use<FileSystem>(); }

}  // namespace upd::platform
