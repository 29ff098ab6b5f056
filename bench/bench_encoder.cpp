// Payload encoder: size against zlib and speed, measured in one run. Each
// input is encoded by EncodePayload (timed), by zlib's deflate at level 9 with
// a 4 KiB window (raw, windowBits -12: the closest mainstream format) and at
// level 9 in gzip format with its 32 KiB window (what `gzip -9` makes, give or
// take a few bytes of header). The table gives payload / zlib ratios and the
// encoder's time per 2 MiB: CPU seconds (steadier on a shared machine) and
// wall-clock seconds. An encode takes seconds, so each is run once.
//
//   build/native/bin/bench_encoder [FILE...]
//
// Inputs: the two pieces of the sample program's newest version that the
// default build embeds (1,500,000 and 815,264 bytes), and each FILE named on
// the command line, cut into pieces of at most 2 MiB (the payload limit).

#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "payload/encoder.h"
#include "payload/sample_product.h"

namespace {

struct Input {
  std::string name;
  std::vector<uint8_t> bytes;
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

void AddPieces(std::vector<Input>& inputs, const std::string& name, const std::vector<uint8_t>& bytes) {
  const size_t pieces = (bytes.size() + upd::kMaxPayloadPieceSize - 1) / upd::kMaxPayloadPieceSize;
  for (size_t k = 0, at = 0; k < pieces; ++k) {
    const size_t n = std::min(upd::kMaxPayloadPieceSize, bytes.size() - at);
    inputs.push_back({pieces > 1 ? name + "#" + std::to_string(k + 1) : name,
                      {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + n)}});
    at += n;
  }
}

struct Totals {
  size_t bytes = 0, payload = 0, zlib12 = 0, gzip9 = 0;
  double cpu = 0, wall = 0;
};

void PrintRow(const std::string& name, const Totals& t) {
  const double per2MiB = static_cast<double>(upd::kMaxPayloadPieceSize) / static_cast<double>(t.bytes);
  std::printf("%-44s %9zu %9zu %9zu %9zu %8.3f %8.3f %7.2f %7.2f\n", name.c_str(), t.bytes, t.payload, t.zlib12,
              t.gzip9, static_cast<double>(t.payload) / static_cast<double>(t.zlib12),
              static_cast<double>(t.payload) / static_cast<double>(t.gzip9), t.cpu * per2MiB, t.wall * per2MiB);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Input> inputs;
  const std::vector<uint8_t> newest = upd::MakeSampleProgram(upd::kSampleProgramVersions);
  AddPieces(inputs, "sample newest, first piece", {newest.begin(), newest.begin() + 1500000});
  AddPieces(inputs, "sample newest, second piece", {newest.begin() + 1500000, newest.end()});
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "bench_encoder: cannot read %s\n", argv[i]);
      return 1;
    }
    AddPieces(inputs, argv[i], std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}));
  }

  std::printf("%-44s %9s %9s %9s %9s %8s %8s %7s %7s\n", "input", "bytes", "payload", "zlib-12", "gzip-9",
              "/zlib-12", "/gzip-9", "cpu s", "wall s");
  std::printf("%-44s %9s %9s %9s %9s %8s %8s %7s %7s\n", "", "", "", "", "", "", "", "/2MiB", "/2MiB");
  Totals all;
  for (const Input& input : inputs) {
    Totals t;
    t.bytes = input.bytes.size();
    t.zlib12 = DeflatedSize(input.bytes, -12, 9);
    t.gzip9 = DeflatedSize(input.bytes, 15 + 16, 8);
    const std::clock_t cpu = std::clock();
    const auto wall = std::chrono::steady_clock::now();
    t.payload = upd::EncodePayload(input.bytes).size();
    t.cpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    PrintRow(input.name, t);
    all.bytes += t.bytes, all.payload += t.payload, all.zlib12 += t.zlib12, all.gzip9 += t.gzip9;
    all.cpu += t.cpu, all.wall += t.wall;
  }
  PrintRow("all", all);
  return 0;
}
