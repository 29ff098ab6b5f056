#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes. Paths are the platform's own (ANSI on Windows),
// ready for the file seam.

#include <filesystem>
#include <string>
#include <vector>

namespace upd::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  std::string Path() const { return path_.string(); }
  // The folder with a trailing separator, as the updater's directory strings have it.
  std::string Dir() const;
  // The path of `name` inside the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  void Write(const std::string& name, const std::string& bytes) const;
  void Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  // Names of the entries of the folder, sorted.
  std::vector<std::string> List() const;

 private:
  std::filesystem::path path_;
};

// Whole-file helpers for paths outside a TempDir.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace upd::testing
