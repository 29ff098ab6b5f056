// The rebuild writes the new version of a file from its payloads without ever
// exposing a half-written target: the payloads are decoded into a temporary
// file beside the target, which is flushed, closed and checked against the
// catalogue's new version (size, and CRC-32 or probes, read back from the
// disk), and only then moved over the target in one step. Every failure
// removes the temporary file and leaves the target as it was. A temporary file
// left behind by a crash has a fixed name and is overwritten by the next run.

#include "payload/rebuild.h"

#include <exception>

#include "engine/crc32.h"
#include "payload/decoder.h"
#include "platform/resources.h"

namespace upd {
namespace {

bool WriteNewVersion(const TPatchPlikInfo& info, const std::string& temp) {
  auto out = platform::Files().CreateTruncate(temp);
  if (!out) return false;
  for (std::string_view name : info.ResourceName)
    if (!name.empty() && !WritePayloadToFile(std::string(name), *out)) return false;
  return out->Flush() && out->Close();
}

bool ProbesHold(platform::InputFile& file, const TPatchProbe* probes) {
  if (!probes) return false;  // nothing to recognise the new version by
  for (int i = 0; i < kProbesPerTable; ++i) {
    uint8_t byte;
    auto got = file.Seek(probes[i].Offset) ? file.Read(&byte, 1) : std::nullopt;
    if (!got || *got != 1 || byte != probes[i].Value) return false;
  }
  return true;
}

// True when the file at `path` is the entry's new version (its CurrentSlot).
bool IsCurrentVersion(int entry, const TPatchPlikInfo& info, const std::string& path) {
  int slot = info.CurrentSlot;
  if (slot < 1 || slot > kVersionSlots || info.SlotSize[slot - 1] <= 0) return false;
  auto file = platform::Files().OpenRead(path);
  if (!file) return false;
  auto size = file->Size();
  if (!size || *size != info.SlotSize[slot - 1]) return false;
  if (entry >= kFirstChecksumEntry) {
    auto crc = StreamCrc32(*file);
    return crc && *crc == info.SlotCrc[slot - 1];
  }
  return ProbesHold(*file, info.SlotProbes[slot - 1]);
}

}  // namespace

std::string RebuildTemporaryPath(const std::string& path) { return path + ".new"; }

bool WritePayloadToFile(const std::string& name, platform::OutputFile& target) {
  auto resource = platform::Resources().Find(name);
  if (!resource) return false;
  PayloadDecoder& decoder = SharedPayloadDecoder();
  if (DecodePayload(decoder, *resource) != DecodeStatus::Ok) return false;
  return target.Write(decoder.buffer.data(), decoder.output_count);
}

bool RebuildFileFromInfo(int entry, const TPatchPlikInfo& info, const std::string& path) {
  const std::string temp = RebuildTemporaryPath(path);
  bool ok = false;
  try {
    ok = WriteNewVersion(info, temp) && IsCurrentVersion(entry, info, temp) &&
         platform::Files().ReplaceFile(temp, path);
  } catch (const std::exception&) {
    // Out of memory for the buffers: a failed rebuild like any other.
    ok = false;
  }
  if (!ok && platform::Files().FileExists(temp)) platform::Files().Delete(temp);
  return ok;
}

bool RebuildFile(int entry, const std::string& path) {
  if (entry < 1 || entry > kCatalogueEntries) return false;
  return RebuildFileFromInfo(entry, PatchCatalogue(entry), path);
}

}  // namespace upd
