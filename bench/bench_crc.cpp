// CRC-32 throughput, side by side in one run: the updater's Crc32Update (folding
// where the CPU has it), its table path alone (slicing-by-8), zlib's crc32, and a
// plain pass that adds up the same bytes as 64-bit words (about what touching
// the bytes costs). Each is repeated; the medians of the CPU time (steadier than
// wall time on a shared machine) are compared at the end.
//
//   build/native/bin/bench_crc [--benchmark_repetitions=N]

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/crc32.h"

namespace {

// 4 MiB: a whole product file, as identification reads it (in 8 KiB blocks,
// which the 8 KiB case shows on its own).
const std::vector<unsigned char>& Data(size_t size) {
  static std::map<size_t, std::vector<unsigned char>> cache;
  auto& bytes = cache[size];
  if (bytes.empty()) {
    bytes.resize(size);
    uint32_t x = 1;
    for (auto& b : bytes) b = static_cast<unsigned char>((x = x * 1664525u + 1013904223u) >> 24);
  }
  return bytes;
}

void CrcUpd(benchmark::State& state) {
  const auto& d = Data(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(upd::Crc32Update(0, d.data(), d.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void CrcUpdTables(benchmark::State& state) {
  const auto& d = Data(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(upd::Crc32UpdateTables(0, d.data(), d.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void CrcZlib(benchmark::State& state) {
  const auto& d = Data(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0L, d.data(), static_cast<uInt>(d.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Sum64(benchmark::State& state) {
  const auto& d = Data(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    uint64_t sum = 0;
    for (size_t i = 0; i + 8 <= d.size(); i += 8) {
      uint64_t w;
      std::memcpy(&w, d.data() + i, 8);
      sum += w;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

constexpr int64_t kFile = 4 << 20;
constexpr int64_t kBlock = 8192;

BENCHMARK(CrcUpd)->Arg(kFile)->Arg(kBlock);
BENCHMARK(CrcUpdTables)->Arg(kFile)->Arg(kBlock);
BENCHMARK(CrcZlib)->Arg(kFile)->Arg(kBlock);
BENCHMARK(Sum64)->Arg(kFile)->Arg(kBlock);

// Prints as usual and keeps the median time of each benchmark.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal.
  MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Color : OO_None) {}

  std::map<std::string, double> median;  // name -> CPU time per iteration, in the benchmark's unit

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        median[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedCPUTime();
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=9";
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  args.insert(args.begin() + 1, {repetitions.data(), aggregates.data()});  // the command line may override
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nCRC-32 %s; medians, ratios of throughput (higher is faster for the first)\n",
              upd::Crc32FoldingAvailable() ? "folds on this CPU" : "uses the tables on this CPU");
  for (int64_t size : {kFile, kBlock}) {
    auto time = [&](const char* name) {
      auto it = reporter.median.find(std::string(name) + "/" + std::to_string(size));
      return it == reporter.median.end() ? 0.0 : it->second;
    };
    double upd = time("CrcUpd"), tables = time("CrcUpdTables"), zlib = time("CrcZlib"), sum = time("Sum64");
    if (upd == 0 || tables == 0 || zlib == 0 || sum == 0) continue;  // filtered out
    std::printf("%8lld bytes: Crc32Update / zlib crc32 = %.2f, Crc32Update / tables = %.2f, "
                "Crc32Update / 64-bit sum = %.2f, tables / zlib crc32 = %.2f\n",
                static_cast<long long>(size), zlib / upd, tables / upd, sum / upd, zlib / tables);
  }
  benchmark::Shutdown();
  return 0;
}
