#pragma once
// The standard CRC-32 (ISO/IEC 3309, ITU-T V.42; zlib, PNG, ZIP): reflected,
// polynomial 0xEDB88320, initial register 0xFFFFFFFF, result inverted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

namespace upd {

// Continues a CRC over `size` more bytes: Crc32Update(0, data, n) is the CRC of
// data; Crc32Update(Crc32Update(0, a, n), b, m) the CRC of a followed by b.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

// Crc32Update folds long inputs with carry-less multiplication on x86 CPUs that
// have it (PCLMULQDQ, checked at run time) and uses eight tables otherwise. For
// tests and benchmarks: whether this CPU folds, and the tables alone.
bool Crc32FoldingAvailable();
uint32_t Crc32UpdateTables(uint32_t crc, const void* data, size_t size);

// CRC of the bytes from the file's current position to its end, read in
// 8192-byte blocks; nullopt when a read fails or ends early.
std::optional<uint32_t> StreamCrc32(platform::InputFile& file);

// CRC of the whole file, opened for reading with others denied writing;
// nullopt when it cannot be opened or read.
std::optional<uint32_t> FileCrc32(const std::string& path);

}  // namespace upd
