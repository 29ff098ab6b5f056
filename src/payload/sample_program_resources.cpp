// The sample program's resources: bitmaps, icons, menus, dialogs, string
// tables, form streams, version information and a manifest, and the writer
// of the resource section.

#include <algorithm>
#include <map>

#include "payload/sample_program_parts.h"

namespace upd::sample_program {
namespace {


enum : uint32_t { kRtIcon = 3, kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtRcdata = 10,
                  kRtGroupIcon = 14, kRtVersion = 16, kRtManifest = 24 };

// A device-independent bitmap of 8 or 24 bits a pixel: toolbar strips of glyphs on a plain
// background, gradients, or a picture with soft shapes and some noise.
}  // namespace

std::vector<uint8_t> MakeBitmap(uint64_t seed, int width, int height, int bits) {
  Random rng(seed);
  Bytes b;
  const uint32_t stride = AlignUp(static_cast<uint32_t>(width * bits + 7) / 8, 4);
  const uint32_t paletteEntries = bits <= 8 ? 1u << bits : 0;
  b.U32(40), b.U32(static_cast<uint32_t>(width)), b.U32(static_cast<uint32_t>(height)), b.U16(1), b.U16(static_cast<uint32_t>(bits));
  b.U32(0), b.U32(stride * static_cast<uint32_t>(height)), b.U32(2834), b.U32(2834), b.U32(0), b.U32(0);
  for (uint32_t i = 0; i < paletteEntries; ++i) {  // a system-like palette: grey ramp and primaries
    const uint32_t v = i * 255 / (paletteEntries - 1);
    const bool primary = i % 16 < 6 && paletteEntries > 16;
    b.U8(primary ? (i & 1) * 255 : v), b.U8(primary ? (i & 2) * 127 : v), b.U8(primary ? (i & 4) * 63 : v), b.U8(0);
  }
  const uint32_t style = rng.Below(3);
  const uint32_t background = rng.Below(paletteEntries ? paletteEntries : 256);
  const int cx = rng.Between(0, width), cy = rng.Between(0, height), radius = rng.Between(4, 1 + std::max(width, height) / 2);
  for (int y = 0; y < height; ++y) {
    const uint32_t rowStart = b.Size();
    for (int x = 0; x < width; ++x) {
      uint32_t v;
      const int dx = x - cx, dy = y - cy;
      const bool inside = dx * dx + dy * dy < radius * radius;
      if (style == 0) {  // glyph cells of 16 x 16 with a shape in each
        const int gx = x % 16, gy = y % 16;
        const bool glyph = gx > 2 && gx < 13 && gy > 2 && gy < 13 && ((gx + gy + x / 16) % 5 < 3);
        v = glyph ? (x / 16 * 7 + 3) % 256 : background;
      } else if (style == 1) {  // a gradient with a shape
        v = static_cast<uint32_t>((x * 255 / std::max(1, width - 1) + (inside ? 64 : 0)) & 0xFF);
      } else {  // a picture: smooth shading plus a little noise
        v = static_cast<uint32_t>(((x + y) * 3 + (inside ? 90 : 0) + static_cast<int>(rng.Below(6))) & 0xFF);
      }
      if (bits == 24) b.U8(v), b.U8((v * 3 / 4 + background) & 0xFF), b.U8((255 - v / 2) & 0xFF);
      else b.U8(v);
    }
    while (b.Size() - rowStart < stride) b.U8(0);
  }
  return b.b;
}

namespace {

std::vector<uint8_t> MakeIconImage(uint64_t seed, int size, int bits) {
  std::vector<uint8_t> dib = MakeBitmap(seed, size, size, bits);
  Bytes b;
  b.Raw(dib);
  b.Put32(8, static_cast<uint32_t>(size * 2));  // icon DIBs count the mask rows too
  const uint32_t maskStride = AlignUp(static_cast<uint32_t>(size + 7) / 8, 4);
  for (int y = 0; y < size; ++y)
    for (uint32_t i = 0; i < maskStride; ++i) b.U8(y < 2 || y >= size - 2 ? 0xFF : (i == 0 ? 0xC0 : 0x00));
  return b.b;
}

std::vector<uint8_t> MakeDialog(uint64_t seed) {
  Random rng(seed);
  Bytes b;
  const int controls = rng.Between(3, 14);
  b.U32(0x80C800C4u), b.U32(0), b.U16(static_cast<uint32_t>(controls));  // style: popup, caption, sysmenu, setfont
  b.U16(0), b.U16(0), b.U16(static_cast<uint32_t>(rng.Between(180, 320))), b.U16(static_cast<uint32_t>(rng.Between(90, 220)));
  b.U16(0), b.U16(0);  // no menu, default class
  Utf16(b, MakePhrase(rng)), b.U16(0);
  b.U16(8), Utf16(b, "MS Sans Serif"), b.U16(0);
  for (int i = 0; i < controls; ++i) {
    b.Align(4);
    const uint32_t kind = rng.Below(3);
    b.U32(kind == 0 ? 0x50010000u : kind == 1 ? 0x50810080u : 0x50020000u), b.U32(0);
    b.U16(static_cast<uint32_t>(rng.Between(4, 200))), b.U16(static_cast<uint32_t>(7 + i * 14));
    b.U16(static_cast<uint32_t>(rng.Between(40, 120))), b.U16(kind == 0 ? 14 : 12);
    b.U16(static_cast<uint32_t>(kind == 0 ? i + 1 : 0xFFFF));
    b.U16(0xFFFF), b.U16(0x80 + kind);
    if (kind == 1) b.U16(0);
    else Utf16(b, MakePhrase(rng)), b.U16(0);
    b.U16(0);
  }
  return b.b;
}

std::vector<uint8_t> MakeMenu(uint64_t seed) {
  Random rng(seed);
  Bytes b;
  b.U16(0), b.U16(0);
  const int popups = rng.Between(3, 6);
  for (int p = 0; p < popups; ++p) {
    b.U16(0x10 | (p == popups - 1 ? 0x80 : 0));
    Utf16(b, std::string("&") + std::string(PickWord(rng))), b.U16(0);
    const int items = rng.Between(3, 12);
    for (int i = 0; i < items; ++i) {
      b.U16(i == items - 1 ? 0x80 : 0), b.U16(static_cast<uint32_t>(100 * (p + 1) + i));
      Utf16(b, MakePhrase(rng)), b.U16(0);
    }
  }
  return b.b;
}

std::vector<uint8_t> MakeStringBlock(uint64_t seed) {
  Random rng(seed);
  Bytes b;
  for (int i = 0; i < 16; ++i) {
    if (rng.Percent(15)) {
      b.U16(0);
      continue;
    }
    Bytes text;
    Utf16(text, MakePhrase(rng));
    b.U16(text.Size() / 2);
    b.Raw(text.b);
  }
  return b.b;
}

// A form stream: the binary form of a window's components and properties.
std::vector<uint8_t> MakeFormStream(uint64_t seed) {
  Random rng(seed);
  Bytes b;
  auto shortString = [&](std::string_view s) { b.U8(static_cast<uint32_t>(s.size())), b.Ascii(s); };
  auto property = [&](Random& r) {
    shortString(PickIdentifier(r));
    switch (r.Below(4)) {
      case 0: b.U8(2), b.U8(r.Below(256)); break;                                     // small integer
      case 1: b.U8(3), b.U16(r.Below(800)); break;                                    // integer
      case 2: b.U8(8); break;                                                         // false
      default: {                                                                      // string
        std::vector<uint8_t> s = Cp1250(MakePhrase(r));
        b.U8(6), b.U8(static_cast<uint32_t>(std::min<size_t>(s.size(), 255)));
        b.b.insert(b.b.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(s.size(), 255)));
      }
    }
  };
  b.Ascii("TPF0");
  const int components = rng.Between(4, 40);
  for (int c = 0; c < components; ++c) {
    shortString(PickIdentifier(rng));
    shortString(std::string(PickIdentifier(rng)) + std::to_string(c + 1));
    for (int p = rng.Between(3, 12); p > 0; --p) property(rng);
    b.U8(0);
  }
  for (int c = 0; c < components; ++c) b.U8(0);
  return b.b;
}

std::vector<uint8_t> MakeVersionInfo(int release) {
  Bytes b;
  auto text = [&](std::string_view key, std::string_view value) {
    const uint32_t start = b.Size();
    b.U16(0), b.U16(static_cast<uint32_t>(value.size() + 1)), b.U16(1);
    Utf16(b, key), b.U16(0), b.Align(4);
    Utf16(b, value), b.U16(0), b.Align(4);
    b.Put16(start, b.Size() - start);
  };
  b.U16(0), b.U16(52), b.U16(0);
  Utf16(b, "VS_VERSION_INFO"), b.U16(0), b.Align(4);
  const uint32_t build = 100 + static_cast<uint32_t>(release) * 17;
  b.U32(0xFEEF04BDu), b.U32(0x00010000u);
  b.U32(0x00020000u | static_cast<uint32_t>(release >= 4 ? 2 : release - 1)), b.U32(build);
  b.U32(0x00020000u | static_cast<uint32_t>(release >= 4 ? 2 : release - 1)), b.U32(build);
  b.U32(0x3F), b.U32(0), b.U32(4), b.U32(1), b.U32(0), b.U32(0), b.U32(0);
  const uint32_t fileInfo = b.Size();
  b.U16(0), b.U16(0), b.U16(1), Utf16(b, "StringFileInfo"), b.U16(0), b.Align(4);
  const uint32_t table = b.Size();
  b.U16(0), b.U16(0), b.U16(1), Utf16(b, "041504E2"), b.U16(0), b.Align(4);
  const std::string version = "2." + std::to_string(release >= 4 ? 2 : release - 1) + "." + std::to_string(release == 5 ? 1 : 0) + "." + std::to_string(build);
  text("FileDescription", "Słownik niemiecko-polski");
  text("FileVersion", version);
  text("InternalName", "DerodUz");
  text("OriginalFilename", "DerodUz.exe");
  text("ProductVersion", version);
  b.Put16(table, b.Size() - table);
  b.Put16(fileInfo, b.Size() - fileInfo);
  b.Put16(0, b.Size());
  return b.b;
}

}  // namespace

std::vector<Resource> MakeResources(int release) {
  const Release& r = kReleases[release - 1];
  std::vector<Resource> res;
  for (uint32_t i = 0; i < r.bitmaps; ++i) {
    Random rng(Seed(10, i));
    const int kind = rng.Below(4);
    const int w = kind == 0 ? 16 * rng.Between(8, 24) : kind == 1 ? rng.Between(48, 160) : rng.Between(24, 64);
    const int h = kind == 0 ? 16 : kind == 1 ? rng.Between(32, 100) : rng.Between(24, 64);
    res.push_back({kRtBitmap, 100 + i, MakeBitmap(Seed(11, i), w, h, kind == 3 ? 8 : 24)});
  }
  // The splash picture, redrawn for the release of new features.
  res.push_back({kRtBitmap, 90, MakeBitmap(Seed(12, release >= 4 ? 2 : 1), 360, 240, 8)});
  // Three icons, each in 32 x 32 and 16 x 16 pixels with 24 and 8 bits.
  uint32_t iconId = 1;
  for (uint32_t g = 0; g < 3; ++g) {
    Bytes group;
    group.U16(0), group.U16(1), group.U16(4);
    for (int size : {32, 16})
      for (int bits : {24, 8}) {
        std::vector<uint8_t> image = MakeIconImage(Seed(13, g, static_cast<uint64_t>(size * bits)), size, bits);
        group.U8(static_cast<uint32_t>(size)), group.U8(static_cast<uint32_t>(size)), group.U8(0), group.U8(0);
        group.U16(1), group.U16(static_cast<uint32_t>(bits)), group.U32(static_cast<uint32_t>(image.size())), group.U16(iconId);
        res.push_back({kRtIcon, iconId++, std::move(image)});
      }
    res.push_back({kRtGroupIcon, 1 + g, group.b});
  }
  for (uint32_t i = 0; i < 3; ++i) res.push_back({kRtMenu, 200 + i, MakeMenu(Seed(15, i))});
  auto version = [&](uint64_t kind, uint32_t id) { return static_cast<uint64_t>(LastChange(kind, id, release)); };
  for (uint32_t i = 0; i < r.dialogs; ++i) res.push_back({kRtDialog, 300 + i, MakeDialog(Seed(16, i, version(16, i)))});
  for (uint32_t i = 0; i < r.strings / 64; ++i)
    res.push_back({kRtString, 1 + i, MakeStringBlock(Seed(17, i, version(17, i)))});
  for (uint32_t i = 0; i < r.dialogs + 8; ++i)
    res.push_back({kRtRcdata, 400 + i, MakeFormStream(Seed(18, i, version(18, i)))});
  res.push_back({kRtVersion, 1, MakeVersionInfo(release)});
  const std::string manifest =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
      "  <assemblyIdentity type=\"win32\" name=\"DerodUz\" version=\"2.0.0.0\" processorArchitecture=\"x86\"/>\r\n"
      "  <dependency><dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"\r\n"
      "    version=\"6.0.0.0\" processorArchitecture=\"x86\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\r\n"
      "  </dependentAssembly></dependency>\r\n"
      "</assembly>\r\n";
  res.push_back({kRtManifest, 1, std::vector<uint8_t>(manifest.begin(), manifest.end())});
  return res;
}

// The resource section: type, name and language directories, data entries,
// then the data, 8-byte aligned.
std::vector<uint8_t> WriteResources(std::vector<Resource> resources, uint32_t rva) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    return a.type != b.type ? a.type < b.type : a.name < b.name;
  });
  std::map<uint32_t, std::vector<const Resource*>> byType;
  for (const Resource& r : resources) byType[r.type].push_back(&r);
  Bytes out;
  auto directory = [&](uint32_t entries) {
    out.U32(0), out.U32(0), out.U16(4), out.U16(0), out.U16(0), out.U16(entries);
  };
  // Sizes of the directory part, to place the data entries after it.
  const uint32_t typeDirs = 16 + 8 * static_cast<uint32_t>(byType.size());
  uint32_t nameDirs = 0, langDirs = 0;
  for (const auto& [type, list] : byType) nameDirs += 16 + 8 * static_cast<uint32_t>(list.size()), langDirs += 24 * static_cast<uint32_t>(list.size());
  const uint32_t dataEntries = typeDirs + nameDirs + langDirs;
  const uint32_t dataStart = AlignUp(dataEntries + 16 * static_cast<uint32_t>(resources.size()), 8);

  directory(static_cast<uint32_t>(byType.size()));
  uint32_t nameDir = typeDirs;
  for (const auto& [type, list] : byType) {
    out.U32(type), out.U32(0x80000000u | nameDir);
    nameDir += 16 + 8 * static_cast<uint32_t>(list.size());
  }
  uint32_t langDir = typeDirs + nameDirs, entry = dataEntries;
  for (const auto& [type, list] : byType) {
    directory(static_cast<uint32_t>(list.size()));
    for (const Resource* r : list) out.U32(r->name), out.U32(0x80000000u | langDir), langDir += 24;
  }
  for (const auto& [type, list] : byType)
    for (size_t i = 0; i < list.size(); ++i) directory(1), out.U32(0x0415), out.U32(entry), entry += 16;
  uint32_t dataAt = dataStart;
  for (const auto& [type, list] : byType)
    for (const Resource* r : list) {
      out.U32(rva + dataAt), out.U32(static_cast<uint32_t>(r->data.size())), out.U32(1250), out.U32(0);
      dataAt = AlignUp(dataAt + static_cast<uint32_t>(r->data.size()), 8);
    }
  out.Align(8);
  for (const auto& [type, list] : byType)
    for (const Resource* r : list) out.Raw(r->data), out.Align(8);
  return out.b;
}

}  // namespace upd::sample_program
