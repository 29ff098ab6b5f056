#pragma once
// The files `patchtool sample DIR` writes. Each sample lives in its own file
// with a static SampleWriterRegistrar, so adding one touches no other file:
//
//   static patchtool::SampleWriterRegistrar writer({"a sample dictionary", [](const std::string& dir) {
//     ... write files into dir with upd::WriteFileReplacing, print one line per file,
//     ... throw std::runtime_error on failure
//   }});

#include <functional>
#include <string>
#include <vector>

namespace patchtool {

struct SampleWriter {
  std::string description;
  std::function<void(const std::string& dir)> write;
};

std::vector<SampleWriter>& SampleWriters();

struct SampleWriterRegistrar {
  explicit SampleWriterRegistrar(SampleWriter writer) { SampleWriters().push_back(std::move(writer)); }
};

// The path of `name` inside `dir`.
std::string PathInDir(const std::string& dir, const std::string& name);

}  // namespace patchtool
