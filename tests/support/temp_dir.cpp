#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace upd::testing {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("updtest-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Dir() const {
  std::string dir = Path();
  dir += static_cast<char>(std::filesystem::path::preferred_separator);
  return dir;
}

void TempDir::Write(const std::string& name, const std::string& bytes) const { WriteWholeFile(File(name), bytes); }

void TempDir::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
  WriteWholeFile(File(name), std::string(bytes.begin(), bytes.end()));
}

std::string TempDir::Read(const std::string& name) const { return ReadWholeFile(File(name)); }

std::vector<std::string> TempDir::List() const {
  std::vector<std::string> names;
  for (auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace upd::testing
