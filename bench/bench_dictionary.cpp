// The dictionary update on the sample dictionary (about 20 MB), against
// copying the same file, measured side by side in one run:
//   ApplyEditScript   old file + script -> new file, through the line channel
//   PatchDictionary   checksum of the old file, application, checksum of the
//                     output, replacement of the old file
//   CopyFile          the old file read in 400000-byte blocks and written out,
//                     pushed to the disk like the channel's output
// Prints the times and the ratios to the copy at the end. The edit-script
// maker against GNU diff is measured by bench/diff_vs_gnu.sh.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_patch.h"
#include "dictionary/edit_script.h"
#include "dictionary/sample_dictionary.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace {

namespace fs = std::filesystem;
using upd::platform::Files;

struct Fixture {
  fs::path dir;
  std::string oldPath, outPath, installDir;
  std::vector<std::string> script;
  std::vector<uint8_t> scriptBytes;

  Fixture() {
    dir = fs::temp_directory_path() / ("bench-dictionary-" + std::to_string(::getpid()));
    fs::create_directories(dir / "install");
    upd::SampleDictionary sample = upd::MakeSampleDictionary();
    oldPath = (dir / "old.sg").string();
    outPath = (dir / "out.sg").string();
    installDir = (dir / "install").string() + "/";
    auto out = Files().CreateTruncate(oldPath);
    out->Write(sample.oldBytes.data(), sample.oldBytes.size());
    out->Close();
    script = upd::SplitScriptText(sample.script);
    scriptBytes.assign(sample.script.begin(), sample.script.end());
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

void CopyFile(const std::string& from, const std::string& to) {
  static std::vector<char> buffer(400000);
  auto in = Files().OpenRead(from);
  auto out = Files().CreateTruncate(to);
  for (;;) {
    size_t got = in->Read(buffer.data(), buffer.size()).value_or(0);
    if (got == 0) break;
    out->Write(buffer.data(), got);
  }
  out->Flush();
  out->Close();
}

void BM_CopyFile(benchmark::State& state) {
  for (auto _ : state) CopyFile(Data().oldPath, Data().outPath);
  state.SetBytesProcessed(state.iterations() * upd::kSampleOldSize);
}

void BM_ApplyEditScript(benchmark::State& state) {
  upd::NoMessages window;
  int32_t percent = 0;
  for (auto _ : state) {
    if (!upd::ApplyEditScript(Data().oldPath, Data().outPath, Data().script, percent, window))
      state.SkipWithError("application failed");
  }
  state.SetBytesProcessed(state.iterations() * upd::kSampleOldSize);
}

void BM_PatchDictionary(benchmark::State& state) {
  upd::platform::MemoryResources resources;
  resources.Add("PSLENGPOL2", Data().scriptBytes);
  upd::platform::ScopedOverride<upd::platform::ResourceSource> use(resources);
  const upd::TPatchSlownikInfo& patch = upd::DictionaryPatches()[0];
  const std::string target = Data().installDir + patch.OldFile.Name;
  upd::NoMessages window;
  int32_t percent = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CopyFile(Data().oldPath, target);
    state.ResumeTiming();
    if (upd::PatchDictionary(Data().installDir, patch, percent, window) != upd::kDictionaryPatched)
      state.SkipWithError("patch failed");
  }
  state.SetBytesProcessed(state.iterations() * upd::kSampleOldSize);
}

BENCHMARK(BM_CopyFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ApplyEditScript)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PatchDictionary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Shows the runs as usual and keeps their times for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Iteration)
        times[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Data();  // the sample is made before any timing
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.times["BM_CopyFile"];
  if (copy > 0) {
    for (const char* name : {"BM_ApplyEditScript", "BM_PatchDictionary"})
      if (reporter.times.count(name))
        std::printf("%-20s %.2f x the copy of the file (wall clock)\n", name, reporter.times[name] / copy);
  }
  benchmark::Shutdown();
  return 0;
}
