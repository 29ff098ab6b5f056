// Payload encoder: size against zlib and speed, measured in one run. Each
// input is encoded by EncodePayload (timed), by zlib's deflate at level 9 with
// a 4 KiB window (raw, windowBits -12: the closest mainstream format) and at
// level 9 in gzip format with its 32 KiB window (what `gzip -9` makes, give or
// take a few bytes of header). The summary gives payload / zlib ratios and the
// encoder's CPU seconds per 2 MiB.
//
//   build/native/bin/bench_encoder [FILE...]
//
// Inputs: the two pieces of the sample program's newest version that the
// default build embeds (1,500,000 and 815,264 bytes), and each FILE named on
// the command line, cut into pieces of at most 2 MiB (the payload limit).

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "payload/encoder.h"
#include "payload/sample_product.h"

namespace {

struct Input {
  std::string name;
  std::vector<uint8_t> bytes;
  size_t payload = 0, zlib12 = 0, gzip9 = 0;
};

size_t DeflatedSize(const std::vector<uint8_t>& in, int windowBits, int memLevel) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, windowBits, memLevel, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
  std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(in.size())));
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  const size_t size = z.total_out;
  deflateEnd(&z);
  return rc == Z_STREAM_END ? size : 0;
}

std::vector<Input>& Inputs() {
  static std::vector<Input> inputs;
  return inputs;
}

void AddPieces(const std::string& name, const std::vector<uint8_t>& bytes) {
  const size_t pieces = (bytes.size() + upd::kMaxPayloadPieceSize - 1) / upd::kMaxPayloadPieceSize;
  for (size_t k = 0, at = 0; k < pieces; ++k) {
    const size_t n = std::min(upd::kMaxPayloadPieceSize, bytes.size() - at);
    Input input;
    input.name = pieces > 1 ? name + "#" + std::to_string(k + 1) : name;
    input.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    Inputs().push_back(std::move(input));
    at += n;
  }
}

class CpuTimeReporter : public benchmark::ConsoleReporter {
 public:
  CpuTimeReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Color : OO_None) {}
  std::map<std::string, double> seconds;  // benchmark name -> CPU seconds per iteration

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        seconds[run.run_name.function_name] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
  }
};

}  // namespace

int main(int argc, char** argv) {
  int count = argc;
  benchmark::Initialize(&count, argv);
  const std::vector<uint8_t> newest = upd::MakeSampleProgram(upd::kSampleProgramVersions);
  AddPieces("sample newest, first piece", {newest.begin(), newest.begin() + 1500000});
  AddPieces("sample newest, second piece", {newest.begin() + 1500000, newest.end()});
  for (int i = 1; i < count; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "bench_encoder: cannot read %s\n", argv[i]);
      return 1;
    }
    AddPieces(argv[i], std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}));
  }
  for (Input& input : Inputs()) {
    input.zlib12 = DeflatedSize(input.bytes, -12, 9);
    input.gzip9 = DeflatedSize(input.bytes, 15 + 16, 8);
    benchmark::RegisterBenchmark(("Encode/" + input.name).c_str(), [&input](benchmark::State& state) {
      for (auto _ : state) input.payload = upd::EncodePayload(input.bytes).size();
      state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.bytes.size()));
    })->Unit(benchmark::kSecond)->Iterations(1);
  }
  CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-48s %9s %9s %9s %9s %8s %8s %8s\n", "input", "bytes", "payload", "zlib -12", "gzip -9",
              "/zlib-12", "/gzip-9", "s/2MiB");
  size_t bytes = 0, payload = 0, zlib12 = 0, gzip9 = 0;
  double seconds = 0;
  for (const Input& input : Inputs()) {
    if (input.payload == 0) continue;  // filtered out
    const double s = reporter.seconds["Encode/" + input.name];
    std::printf("%-48s %9zu %9zu %9zu %9zu %8.3f %8.3f %8.2f\n", input.name.c_str(), input.bytes.size(),
                input.payload, input.zlib12, input.gzip9, double(input.payload) / input.zlib12,
                double(input.payload) / input.gzip9, s * double(upd::kMaxPayloadPieceSize) / input.bytes.size());
    bytes += input.bytes.size(), payload += input.payload, zlib12 += input.zlib12, gzip9 += input.gzip9, seconds += s;
  }
  if (bytes)
    std::printf("%-48s %9zu %9zu %9zu %9zu %8.3f %8.3f %8.2f\n", "all", bytes, payload, zlib12, gzip9,
                double(payload) / zlib12, double(payload) / gzip9, seconds * double(upd::kMaxPayloadPieceSize) / bytes);
  benchmark::Shutdown();
  return 0;
}
