// The sample product's program file, generated. The generator builds one
// model of a 32-bit Windows program and lets it grow over five releases:
//
// - Code: functions made of x86 instruction patterns (frame set-up, loads and
//   stores to locals, calls to other functions and to imports, pushes of
//   string addresses, compares and short jumps, the epilogue), padded to four
//   bytes. Each release adds new functions in groups inserted between the old
//   ones and edits a few percent of the old ones, so call displacements and
//   absolute addresses shift the way they do between real builds.
// - Constant data: 8-bit strings in code page 1250 and UTF-16 strings of a
//   German-Polish dictionary program's interface, class tables of method
//   addresses, and lookup tables.
// - Initialised data, an import section, resources (menus, dialogs, string
//   tables, bitmaps, icons, form streams, version information, a manifest)
//   and the base relocations of every absolute address.
//
// Every release is laid out from scratch (section alignment 4 KiB, file
// alignment 512 bytes), the resource section is given exactly the room that
// makes the file as long as its catalogue size (the room left over holds one
// more bitmap and zero padding), and last the header's checksum field takes
// the four bytes that give the file its catalogue CRC-32.
//
// Only integer arithmetic and a self-contained generator of pseudo-random
// numbers are used, so the bytes are the same with every compiler.

#include "payload/sample_product.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "engine/crc32.h"
#include "payload/sample_program_parts.h"

namespace upd {
namespace {

using namespace sample_program;

// The sizes and CRC-32 values of the five known versions.

constexpr std::array<SampleProgramVersion, kSampleProgramVersions> kVersions = {{
    {1, 2050048, 0x8F07E7C9u, "DerodUz-slot1.exe"},
    {2, 2143744, 0xD4A4D0B1u, "DerodUz-slot2.exe"},
    {3, 2155008, 0x121C663Du, "DerodUz-slot3.exe"},
    {4, 2314752, 0x37BA25E3u, "DerodUz-slot4.exe"},
    {5, 2315264, 0x65E3C03Eu, "DerodUz-slot5.exe"},
}};

constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kHeaderSize = 0x400;
constexpr uint32_t kPeOffset = 0x80;
// The optional header's CheckSum field: PE signature (4) + file header (20) + 64.
constexpr uint32_t kChecksumOffset = kPeOffset + 4 + 20 + 64;

struct Section {
  const char* name;
  uint32_t characteristics;
  Bytes data;
  uint32_t virtualSize = 0;  // when larger than the data (uninitialised part)
  uint32_t rva = 0;
  uint32_t fileOffset = 0;
  uint32_t rawSize = 0;
};

// Base relocations: one block per 4 KiB page, 32-bit entries (type 3).
std::vector<uint8_t> WriteRelocations(std::vector<Fixup> fixups) {
  std::sort(fixups.begin(), fixups.end(), [](const Fixup& a, const Fixup& b) { return a.rva < b.rva; });
  Bytes out;
  for (size_t i = 0; i < fixups.size();) {
    const uint32_t page = fixups[i].rva & ~0xFFFu;
    const uint32_t start = out.Size();
    out.U32(page), out.U32(0);
    for (; i < fixups.size() && (fixups[i].rva & ~0xFFFu) == page; ++i) out.U16(0x3000 | (fixups[i].rva & 0xFFF));
    if (out.Size() % 4) out.U16(0);
    out.Put32(start + 4, out.Size() - start);
  }
  return out.b;
}

std::vector<uint8_t> BuildProgram(int release, uint32_t fileSize) {
  const Program program = MakeProgram(release);
  Layout layout;

  Section text{".text", 0x60000020u, {}};
  Section rdata{".rdata", 0x40000040u, {}};
  Section data{".data", 0xC0000040u, {}};
  Section bss{".bss", 0xC0000080u, {}};
  Section idata{".idata", 0xC0000040u, {}};
  Section rsrc{".rsrc", 0x40000040u, {}};
  Section reloc{".reloc", 0x42000040u, {}};

  text.rva = kSectionAlignment;
  layout.function.assign(program.functions.size(), 0);
  WriteCode(program, text.data, text.rva, nullptr, &layout.function, nullptr);
  rdata.rva = AlignUp(text.rva + text.data.Size(), kSectionAlignment);
  // Every instruction has a fixed size, so a first pass over the code gives
  // the function addresses that the constant data needs, and the code comes
  // again once every address is known.
  // Constant data: class tables, strings, wide strings, lookup tables.
  std::vector<Fixup> fixups;
  Bytes& rd = rdata.data;
  for (size_t c = 0; c < program.classMethods.size(); ++c) {
    layout.classTable.push_back(rdata.rva + rd.Size());
    rd.U8(static_cast<uint32_t>(program.classNames[c].size())), rd.Ascii(program.classNames[c]), rd.Align(4);
    rd.U32(static_cast<uint32_t>(program.classMethods[c].size() * 4 + 12));
    for (uint32_t method : program.classMethods[c]) {
      fixups.push_back({rdata.rva + rd.Size()});
      rd.U32(kImageBase + layout.function[method]);
    }
  }
  for (const auto& s : program.strings) layout.string.push_back(rdata.rva + rd.Size()), rd.Raw(s), rd.Align(4);
  for (const auto& s : program.wideStrings) layout.wideString.push_back(rdata.rva + rd.Size()), rd.Raw(s), rd.Align(4);
  WriteConstantTables(rd);

  data.rva = AlignUp(rdata.rva + rd.Size(), kSectionAlignment);
  for (size_t g = 0; g < program.globals.size(); ++g) {
    layout.global.push_back(data.rva + data.data.Size());
    Bytes item{program.globals[g]};
    for (const auto& [at, string] : program.globalPointers[g]) {
      fixups.push_back({data.rva + data.data.Size() + at});
      item.Put32(at, kImageBase + layout.string[string]);
    }
    data.data.Raw(item.b);
  }
  bss.rva = AlignUp(data.rva + data.data.Size(), kSectionAlignment);
  bss.virtualSize = 0x9000 + static_cast<uint32_t>(release) * 0x200;
  idata.rva = AlignUp(bss.rva + bss.virtualSize, kSectionAlignment);
  uint32_t iatRva = 0, iatSize = 0;
  layout.import = WriteImports(idata.data, idata.rva, iatRva, iatSize);

  // Now the code with every address known.
  WriteCode(program, text.data, text.rva, &layout, nullptr, &fixups);

  reloc.data.b = WriteRelocations(fixups);
  rsrc.rva = AlignUp(idata.rva + idata.data.Size(), kSectionAlignment);
  std::vector<Resource> resources = MakeResources(release);

  // The file: headers, then each section's data padded to the file alignment.
  // The resource section gets all the room that is left.
  std::vector<Section*> sections = {&text, &rdata, &data, &bss, &idata, &rsrc, &reloc};
  uint32_t fixed = kHeaderSize;
  for (Section* s : sections)
    if (s != &rsrc && s != &bss) fixed += AlignUp(s->data.Size(), kFileAlignment);
  if (fixed >= fileSize) throw std::logic_error("sample program: the model outgrew its file size");
  const uint32_t rsrcRoom = fileSize - fixed;
  rsrc.data.b = WriteResources(resources, rsrc.rva);
  if (rsrc.data.Size() > rsrcRoom) throw std::logic_error("sample program: the resources outgrew their room");
  // The room left over holds one more picture, sized to fill it, and the
  // zero padding that a section ends with.
  const uint32_t spare = rsrcRoom - rsrc.data.Size();
  if (spare > 1024) {
    const int width = 200;
    const uint32_t stride = AlignUp(width * 3, 4);
    const int height = static_cast<int>((spare - 512 - 64) / stride);
    if (height > 0) {
      resources.push_back({kRtBitmap, 95, MakeBitmap(Seed(19, static_cast<uint64_t>(release)), width, height, 24)});
      rsrc.data.b = WriteResources(resources, rsrc.rva);
    }
  }
  if (rsrc.data.Size() > rsrcRoom) throw std::logic_error("sample program: the resources outgrew their room");
  rsrc.rawSize = rsrcRoom;
  reloc.rva = AlignUp(rsrc.rva + rsrc.data.Size(), kSectionAlignment);
  // The relocation section sits after the resources: its page addresses do
  // not depend on it, so it was made before.

  uint32_t offset = kHeaderSize;
  for (Section* s : sections) {
    if (s == &bss) continue;
    s->fileOffset = offset;
    if (s != &rsrc) s->rawSize = AlignUp(s->data.Size(), kFileAlignment);
    offset += s->rawSize;
  }

  Bytes file;
  // DOS header and stub.
  file.Ascii("MZ"), file.U16(0x90), file.U16(3), file.U16(0), file.U16(4), file.U16(0), file.U16(0xFFFF), file.U16(0);
  file.U16(0xB8), file.U16(0), file.U16(0), file.U16(0), file.U16(0x40), file.U16(0);
  file.Zeros(32);
  file.U32(kPeOffset);
  const uint8_t stub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
  for (uint8_t c : stub) file.U8(c);
  file.Ascii("This program cannot be run in DOS mode.\r\r\n$");
  file.Zeros(kPeOffset - file.Size());
  // PE header.
  file.Ascii(std::string_view("PE\0\0", 4));
  file.U16(0x014C), file.U16(static_cast<uint32_t>(sections.size()));
  file.U32(0x4A000000u + static_cast<uint32_t>(release) * 0x2A3F11u);  // link time
  file.U32(0), file.U32(0), file.U16(0xE0), file.U16(0x818E);
  const uint32_t imageSize = AlignUp(reloc.rva + reloc.data.Size(), kSectionAlignment);
  file.U16(0x010B), file.U8(2), file.U8(25);
  file.U32(text.rawSize), file.U32(rdata.rawSize + data.rawSize + idata.rawSize + rsrc.rawSize + reloc.rawSize), file.U32(bss.virtualSize);
  file.U32(layout.function[program.functions.back().id]), file.U32(text.rva), file.U32(rdata.rva);
  file.U32(kImageBase), file.U32(kSectionAlignment), file.U32(kFileAlignment);
  file.U16(4), file.U16(0), file.U16(0), file.U16(0), file.U16(4), file.U16(0), file.U32(0);
  file.U32(imageSize), file.U32(kHeaderSize);
  file.U32(0);  // CheckSum: chosen last, to give the file its CRC-32
  file.U16(2), file.U16(0);
  file.U32(0x100000), file.U32(0x4000), file.U32(0x100000), file.U32(0), file.U32(0), file.U32(16);
  const std::array<std::pair<uint32_t, uint32_t>, 16> directories = {{
      {0, 0},
      {idata.rva, ImportDescriptorsSize()},
      {rsrc.rva, rsrc.data.Size()},
      {0, 0}, {0, 0},
      {reloc.rva, reloc.data.Size()},
      {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0},
      {iatRva, iatSize},
      {0, 0}, {0, 0}, {0, 0},
  }};
  for (const auto& [rva, size] : directories) file.U32(rva), file.U32(size);
  for (Section* s : sections) {
    std::string name(s->name);
    name.resize(8, '\0');
    file.Ascii(name);
    file.U32(s->virtualSize ? s->virtualSize : s->data.Size()), file.U32(s->rva);
    file.U32(s == &bss ? 0 : s->rawSize), file.U32(s == &bss ? 0 : s->fileOffset);
    file.U32(0), file.U32(0), file.U16(0), file.U16(0), file.U32(s->characteristics);
  }
  file.Zeros(kHeaderSize - file.Size());
  for (Section* s : sections) {
    if (s == &bss) continue;
    file.Raw(s->data.b);
    file.Zeros(s->rawSize - s->data.Size());
  }
  if (file.Size() != fileSize) throw std::logic_error("sample program: laid out to the wrong size");
  return std::move(file.b);
}

}  // namespace

const SampleProgramVersion& SampleProgramVersionInfo(int slot) {
  if (slot < 1 || slot > kSampleProgramVersions) throw std::out_of_range("sample program slot must be 1 to 5");
  return kVersions[static_cast<size_t>(slot - 1)];
}

std::vector<uint8_t> MakeSampleProgram(int slot) {
  const SampleProgramVersion& v = SampleProgramVersionInfo(slot);
  std::vector<uint8_t> file = BuildProgram(slot, v.size);
  ForceCrc32(file, kChecksumOffset, v.crc);
  return file;
}

void ForceCrc32(std::span<uint8_t> data, size_t offset, uint32_t target) {
  if (offset > data.size() || data.size() - offset < 4)
    throw std::invalid_argument("the four bytes to choose lie outside the data");
  auto crcWith = [&](uint32_t value) {
    for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return Crc32Update(0, data.data(), data.size());
  };
  // crc(x) = base ^ sum of column[i] over the set bits i of x.
  const uint32_t base = crcWith(0);
  std::array<uint32_t, 32> column;
  for (int i = 0; i < 32; ++i) column[i] = crcWith(1u << i) ^ base;
  // Gauss-Jordan elimination over GF(2): rows are the columns' bit patterns,
  // each carrying the set of input bits that produces it.
  std::array<uint32_t, 32> row = column, makes{};
  for (int i = 0; i < 32; ++i) makes[i] = 1u << i;
  uint32_t want = target ^ base, answer = 0;
  for (int bit = 31, next = 0; bit >= 0; --bit) {
    int pivot = -1;
    for (int i = next; i < 32 && pivot < 0; ++i)
      if (row[i] >> bit & 1) pivot = i;
    if (pivot < 0) continue;
    std::swap(row[pivot], row[next]);
    std::swap(makes[pivot], makes[next]);
    for (int i = 0; i < 32; ++i)
      if (i != next && (row[i] >> bit & 1)) row[i] ^= row[next], makes[i] ^= makes[next];
    if (want >> bit & 1) want ^= row[next], answer ^= makes[next];
    ++next;
  }
  if (want != 0 || crcWith(answer) != target) throw std::logic_error("CRC-32 could not be reached");
}

}  // namespace upd
