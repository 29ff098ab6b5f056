// Decoding throughput of the default build's payloads, in MB/s of output,
// against zlib's inflate of the same output bytes compressed at level 9,
// measured side by side in one run. The payload decode is what the rebuild
// runs per payload: copy the container into the payload buffer, the
// prefix-code stage, the LZ stage into the reused buffer.
//
//   build/native/bin/bench_decode

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "build_config.h"
#include "build_resources.h"
#include "payload/decoder.h"

namespace {

struct Shipped {
  std::string name;
  std::vector<uint8_t> container;
  std::vector<uint8_t> output;    // what the payload decodes to
  std::vector<uint8_t> deflated;  // the output compressed by zlib at level 9
};

std::vector<Shipped> LoadPayloads() {
  std::vector<Shipped> all;
  for (const auto& resource : upd::build::kResources) {
    if (resource.kind != upd::build::Resource::Kind::Payload) continue;
    auto bytes = upd::build::EmbeddedResources().Find(std::string(resource.name));
    upd::PayloadDecoder decoder;
    if (!bytes || upd::DecodePayload(decoder, *bytes) != upd::DecodeStatus::Ok) {
      std::fprintf(stderr, "bench_decode: payload %s does not decode\n", std::string(resource.name).c_str());
      std::exit(1);
    }
    Shipped p{std::string(resource.name), {bytes->begin(), bytes->end()},
              {decoder.buffer.begin(), decoder.buffer.begin() + static_cast<ptrdiff_t>(decoder.output_count)}, {}};
    uLongf size = compressBound(p.output.size());
    p.deflated.resize(size);
    if (compress2(p.deflated.data(), &size, p.output.data(), p.output.size(), 9) != Z_OK) std::exit(1);
    p.deflated.resize(size);
    all.push_back(std::move(p));
  }
  return all;
}

void Decode(benchmark::State& state, const Shipped* p) {
  upd::PayloadDecoder decoder;
  for (auto _ : state) {
    if (upd::DecodePayload(decoder, p->container) != upd::DecodeStatus::Ok) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(decoder.buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->output.size()));
}

void Inflate(benchmark::State& state, const Shipped* p) {
  std::vector<uint8_t> out(p->output.size());
  for (auto _ : state) {
    uLongf size = out.size();
    if (uncompress(out.data(), &size, p->deflated.data(), p->deflated.size()) != Z_OK) state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->output.size()));
}

// Keeps each run's output rate for the ratios printed at the end.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> rate;  // run name -> bytes per second
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (!run.error_occurred && run.counters.count("bytes_per_second"))
        rate[run.benchmark_name()] = run.counters.at("bytes_per_second");
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  static const std::vector<Shipped> payloads = LoadPayloads();
  for (const Shipped& p : payloads) {
    benchmark::RegisterBenchmark(("decode/" + p.name).c_str(), Decode, &p)->MinTime(1.0);
    benchmark::RegisterBenchmark(("inflate/" + p.name).c_str(), Inflate, &p)->MinTime(1.0);
  }
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-10s %12s %12s %12s %12s %14s %9s\n", "payload", "output B", "payload B", "zlib -9 B",
              "decode MB/s", "inflate MB/s", "ratio");
  for (const Shipped& p : payloads) {
    double d = reporter.rate["decode/" + p.name + "/min_time:1.000"];
    double z = reporter.rate["inflate/" + p.name + "/min_time:1.000"];
    std::printf("%-10s %12zu %12zu %12zu %12.1f %14.1f %9.2f\n", p.name.c_str(), p.output.size(), p.container.size(),
                p.deflated.size(), d / 1e6, z / 1e6, z > 0 ? d / z : 0.0);
  }
  benchmark::Shutdown();
  return 0;
}
