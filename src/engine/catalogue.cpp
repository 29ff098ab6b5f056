// The patch catalogue: 33 constant rows, compiled in.
//
// Entries 1 to 23 are recognised by their size and 50 byte probes per known
// version, entries 24 to 33 by their size and CRC-32. The probe tables are made
// at compile time by a small deterministic generator from the rows below, so the
// rows stay readable; see MakeProbeTable for how the probes are chosen.
//
// Display names are code page 1250 bytes, written as escapes because this
// source file is UTF-8 (0xB3 is "ł", 0xEA "ę", 0xF1 "ń", 0xDC "Ü", 0xE7 "ç",
// 0xED "í", 0xF3 "ó"). An escape is closed before a letter that could
// continue it as a hex digit.

#include "engine/catalogue.h"

#include <stdexcept>
#include <string>

namespace upd {
namespace {

using Rows = std::array<TPatchPlikInfo, kCatalogueEntries>;

// Display names, Polish first, then the one for every other language.
constexpr std::array<std::string_view, 2> kEnglish30 = {"Varsko T\xB3umacz angielsko-polski 3.0",
                                                        "Varsko English-Polish Translator 3.0"};
constexpr std::array<std::string_view, 2> kFrench12 = {"Varsko T\xB3umacz francusko-polski 1.2",
                                                       "Varsko Traducteur Fran\xE7" "ais-Polonais 1.2"};
constexpr std::array<std::string_view, 2> kItalian11 = {"Varsko T\xB3umacz w\xB3osko-polski 1.1",
                                                        "Varsko Traduttore Italiano-Polacco 1.1"};
constexpr std::array<std::string_view, 2> kGerman21 = {"Varsko T\xB3umacz niemiecko-polski 2.1",
                                                       "Varsko \xDC" "bersetzer Deutsch-Polnisch 2.1"};
constexpr std::array<std::string_view, 2> kGerman22 = {"Varsko T\xB3umacz niemiecko-polski 2.2",
                                                       "Varsko \xDC" "bersetzer Deutsch-Polnisch 2.2"};
constexpr std::array<std::string_view, 2> kSpanish10 = {"Varsko T\xB3umacz hiszpa\xF1sko-polski 1.0",
                                                        "Varsko Traductor Castellano-Polaco 1.0"};
constexpr std::array<std::string_view, 2> kSpanish11 = {"Varsko T\xB3umacz hiszpa\xF1sko-polski 1.1",
                                                        "Varsko Traductor Castellano-Polaco 1.1"};
constexpr std::array<std::string_view, 2> kRussian10 = {"Varsko T\xB3umacz rosyjsko-polski 1.0",
                                                        "Varsko Russian-Polish Translator 1.0"};
constexpr std::array<std::string_view, 2> kHungarian11 = {"Varsko T\xB3umacz w\xEAgiersko-polski 1.1",
                                                          "Varsko Magyar-Lengyel Ford\xEDt\xF3 1.1"};
constexpr std::array<std::string_view, 2> kMedical10 = {"Varsko S\xB3ownik medyczny 1.0",
                                                        "Varsko Medical Dictionary 1.0"};
constexpr std::array<std::string_view, 2> kMedical11 = {"Varsko S\xB3ownik medyczny 1.1",
                                                        "Varsko Medical Dictionary 1.1"};
constexpr std::array<std::string_view, 2> kBusiness20 = {"Varsko S\xB3ownik biznesowy 2.0",
                                                         "Varsko Business Dictionary 2.0"};
constexpr std::array<std::string_view, 2> kTechnical15 = {"Varsko S\xB3ownik techniczny 1.5",
                                                          "Varsko Technical Dictionary 1.5"};
constexpr std::array<std::string_view, 2> kLegal11 = {"Varsko S\xB3ownik prawniczy 1.1",
                                                      "Varsko Legal Dictionary 1.1"};

// The rows without their probe tables. Sizes of program files and templates are
// multiples of 512, as their formats make them; help, picture and dictionary
// side files are not.
constexpr Rows kRowsWithoutProbes = {{
    // 1: the English program; all 11 slots, 4 and 5 of one size, 6 and 7 of one size.
    {.DisplayName = kEnglish30, .VersionText = "3.0.4", .FileName = "VarskoEn.exe",
     .ResourceName = {"PEN30PRA", "PEN30PRB"}, .CurrentSlot = 11,
     .SlotSize = {1204736, 1247232, 1290240, 1338368, 1338368, 1402880, 1402880, 1433600, 1466368, 1498112, 1519616}},
    // 2: its help file; only slots 1 and 4 hold versions.
    {.DisplayName = kEnglish30, .VersionText = "3.0.4", .FileName = "VarskoEn.hlp",
     .ResourceName = {"PEN30HLP", ""}, .CurrentSlot = 4,
     .SlotSize = {1873442, 0, 0, 1911207}},
    // 3: its uninstaller.
    {.DisplayName = kEnglish30, .VersionText = "3.0.4", .FileName = "UnVarEn.exe",
     .ResourceName = {"PEN30UNI", ""}, .CurrentSlot = 3,
     .SlotSize = {61440, 62464, 64000}},
    // 4, 5: the French program and help file.
    {.DisplayName = kFrench12, .VersionText = "1.2.2", .FileName = "VarskoFr.exe",
     .ResourceName = {"PFR12PRG", ""}, .CurrentSlot = 3,
     .SlotSize = {987136, 1012224, 1046016}},
    {.DisplayName = kFrench12, .VersionText = "1.2.2", .FileName = "VarskoFr.hlp",
     .ResourceName = {"PFR12HLP", ""}, .CurrentSlot = 2,
     .SlotSize = {1204519, 1233870}},
    // 6, 7: the Italian program and its start-up picture (8-bit 640 x 480 in slot 2).
    {.DisplayName = kItalian11, .VersionText = "1.1.3", .FileName = "VarskoIt.exe",
     .ResourceName = {"PIT11PRG", ""}, .CurrentSlot = 3,
     .SlotSize = {1001472, 1034752, 1059840}},
    {.DisplayName = kItalian11, .VersionText = "1.1.3", .FileName = "Logo.bmp",
     .ResourceName = {"PIT11LOG", ""}, .CurrentSlot = 2,
     .SlotSize = {230454, 308278}},
    // 8: the German program of the previous update; its new version is the first
    // version known to entry 33.
    {.DisplayName = kGerman21, .VersionText = "2.1.3", .FileName = "DerodUz.exe",
     .ResourceName = {"PDE21TDA", "PDE21TDB"}, .CurrentSlot = 3,
     .SlotSize = {1926144, 1984512, 2050048}},
    // 9, 10: a configuration program and a dictionary side file, both new.
    {.DisplayName = kGerman21, .VersionText = "2.1.3", .FileName = "DerodKonf.exe",
     .ResourceName = {"PDE21KNF", ""}, .CurrentSlot = 1,
     .SlotSize = {155648}},
    {.DisplayName = kGerman21, .VersionText = "2.1.3", .FileName = "DeSlowa.idx",
     .ResourceName = {"PDE21IDX", ""}, .CurrentSlot = 1,
     .SlotSize = {482316}},
    // 11: the dictionary library shared by the products (again in 19 and 27).
    {.DisplayName = kGerman21, .VersionText = "2.1.3", .FileName = "VarskoSl.dll",
     .ResourceName = {"PSL20DLL", ""}, .CurrentSlot = 3,
     .SlotSize = {274432, 282624, 290816}},
    // 12: the German uninstaller.
    {.DisplayName = kGerman21, .VersionText = "2.1.3", .FileName = "UnDerod.exe",
     .ResourceName = {"PDE21UNI", ""}, .CurrentSlot = 2,
     .SlotSize = {63488, 65536}},
    // 13: the Spanish program (again in 32); slots 2 and 3 of one size.
    {.DisplayName = kSpanish10, .VersionText = "1.0.6", .FileName = "VarskoEs.exe",
     .ResourceName = {"PES10PRA", "PES10PRB"}, .CurrentSlot = 6,
     .SlotSize = {1101824, 1134592, 1134592, 1167360, 1190400, 1212416}},
    {.DisplayName = kSpanish10, .VersionText = "1.0.6", .FileName = "VarskoEs.hlp",
     .ResourceName = {"PES10HLP", ""}, .CurrentSlot = 2,
     .SlotSize = {1456201, 1470993}},
    // 15: the Russian program; slots 2 and 3 of one size.
    {.DisplayName = kRussian10, .VersionText = "1.0.3", .FileName = "VarskoRu.exe",
     .ResourceName = {"PRU10PRA", "PRU10PRB"}, .CurrentSlot = 3,
     .SlotSize = {1310720, 1343488, 1343488}},
    // 16, 17: the Hungarian program (both versions of one size) and help file.
    {.DisplayName = kHungarian11, .VersionText = "1.1.1", .FileName = "VarskoHu.exe",
     .ResourceName = {"PHU11PRG", ""}, .CurrentSlot = 2,
     .SlotSize = {1956864, 1956864}},
    {.DisplayName = kHungarian11, .VersionText = "1.1.1", .FileName = "VarskoHu.hlp",
     .ResourceName = {"PHU11HLP", ""}, .CurrentSlot = 3,
     .SlotSize = {998412, 1007355, 1021688}},
    // 18: the English idiom index; both versions of one size.
    {.DisplayName = kEnglish30, .VersionText = "3.0.5", .FileName = "EnIdiomy.idx",
     .ResourceName = {"PEN31IDX", ""}, .CurrentSlot = 2,
     .SlotSize = {356880, 356880}},
    // 19: the dictionary library again, as the medical dictionary ships it.
    {.DisplayName = kMedical10, .VersionText = "1.0.2", .FileName = "VarskoSl.dll",
     .ResourceName = {"PSL21DLL", ""}, .CurrentSlot = 3,
     .SlotSize = {290816, 299008, 307200}},
    // 20: the medical dictionary program (again in 31).
    {.DisplayName = kMedical10, .VersionText = "1.0.2", .FileName = "VarskoMed.exe",
     .ResourceName = {"PMD10PRA", "PMD10PRB"}, .CurrentSlot = 3,
     .SlotSize = {1622016, 1658880, 1703936}},
    // 21: the English configuration program, new.
    {.DisplayName = kEnglish30, .VersionText = "3.0.5", .FileName = "EnKonf.exe",
     .ResourceName = {"PEN31KNF", ""}, .CurrentSlot = 1,
     .SlotSize = {143360}},
    {.DisplayName = kMedical10, .VersionText = "1.0.2", .FileName = "UnMed.exe",
     .ResourceName = {"PMD10UNI", ""}, .CurrentSlot = 2,
     .SlotSize = {66560, 67584}},
    {.DisplayName = kMedical10, .VersionText = "1.0.2", .FileName = "VarskoMed.hlp",
     .ResourceName = {"PMD10HLP", ""}, .CurrentSlot = 2,
     .SlotSize = {2310657, 2384119}},
    // From here on the checksum kind. 24 to 26: the business, technical and legal
    // dictionary programs; 27 the shared library once more; 28 a help file.
    {.DisplayName = kBusiness20, .VersionText = "2.0.1", .FileName = "VarskoBiz.exe",
     .ResourceName = {"PBZ20PRA", "PBZ20PRB"}, .CurrentSlot = 3,
     .SlotSize = {1441792, 1478656, 1515520},
     .SlotCrc = {0x890E372D, 0xC7266A48, 0x261762B7}},
    {.DisplayName = kTechnical15, .VersionText = "1.5.2", .FileName = "VarskoTech.exe",
     .ResourceName = {"PTE15PRA", "PTE15PRB"}, .CurrentSlot = 4,
     .SlotSize = {1249280, 1282048, 1306624, 1339392},
     .SlotCrc = {0xB9638EC5, 0x79807D70, 0x8C05FC02, 0x3BBB6BFF}},
    {.DisplayName = kLegal11, .VersionText = "1.1.1", .FileName = "VarskoPrawo.exe",
     .ResourceName = {"PPR11PRA", "PPR11PRB"}, .CurrentSlot = 2,
     .SlotSize = {1187840, 1212416},
     .SlotCrc = {0x0BA5CCAF, 0xA7DE8C2F}},
    {.DisplayName = kTechnical15, .VersionText = "1.5.2", .FileName = "VarskoSl.dll",
     .ResourceName = {"PSL22DLL", ""}, .CurrentSlot = 4,
     .SlotSize = {290816, 299008, 307200, 315392},
     .SlotCrc = {0xF3D35C91, 0x9A51775E, 0xEFD3DAA5, 0x612CBB90}},
    {.DisplayName = kTechnical15, .VersionText = "1.5.2", .FileName = "VarskoTech.chm",
     .ResourceName = {"PTE15CHM", ""}, .CurrentSlot = 2,
     .SlotSize = {3145827, 3212004},
     .SlotCrc = {0x9C165994, 0x9AB24D67}},
    // 29, 30: the word processor's templates, also looked for in its startup folders.
    {.DisplayName = kGerman22, .VersionText = "2.2.1", .FileName = "VarskoTrDe3.dot",
     .ResourceName = {"PDE22DOT", ""}, .CurrentSlot = 3,
     .SlotSize = {52224, 55296, 58368},
     .SlotCrc = {0x0B2364CE, 0xAE51097F, 0x59F67DCA}},
    {.DisplayName = kGerman22, .VersionText = "2.2.1", .FileName = "VarskoTrDe3d.dot",
     .ResourceName = {"PDE22DTD", ""}, .CurrentSlot = 2,
     .SlotSize = {41472, 44544},
     .SlotCrc = {0x68C52C38, 0xD126327A}},
    {.DisplayName = kMedical11, .VersionText = "1.1.0", .FileName = "VarskoMed.exe",
     .ResourceName = {"PMD11PRA", "PMD11PRB"}, .CurrentSlot = 4,
     .SlotSize = {1622016, 1658880, 1703936, 1745920},
     .SlotCrc = {0xAE626BDE, 0x6B81C531, 0xE465B828, 0x6C41248E}},
    // 32: a new build of the Spanish program, created where it is missing.
    {.DisplayName = kSpanish11, .VersionText = "1.1.0", .FileName = "VarskoEs.exe",
     .ResourceName = {"PES11PRA", "PES11PRB"}, .CurrentSlot = 1,
     .SlotSize = {1245184},
     .SlotCrc = {0x8DCDF4C0}},
    // 33: the German program, brought to 2.2.1 by this update.
    {.DisplayName = kGerman22, .VersionText = "2.2.1", .FileName = "DerodUz.exe",
     .ResourceName = {"PDE22TDA", "PDE22TDB"}, .CurrentSlot = 5,
     .SlotSize = {2050048, 2143744, 2155008, 2314752, 2315264},
     .SlotCrc = {0x8F07E7C9, 0xD4A4D0B1, 0x121C663D, 0x37BA25E3, 0x65E3C03E}},
}};

// ---- Probe tables ----
//
// A real probe table lists places where the versions of a file differ. The
// generator imitates that: the offsets depend on the entry and the slot's size
// only, so two versions of one size are probed at the same 50 places, and the
// values depend on the slot as well, so those versions expect different bytes
// there and can be told apart (the catalogue test checks that they do). The 50
// offsets of a table are distinct and lie inside the file; their order is
// random, as in the tables the catalogue was made from.

using ProbeTable = std::array<TPatchProbe, kProbesPerTable>;

constexpr int CountProbeTables(const Rows& rows) {
  int n = 0;
  for (int e = 0; e < kFirstChecksumEntry - 1; ++e)
    for (int32_t size : rows[e].SlotSize) n += size != 0;
  return n;
}

constexpr int kProbeTables = CountProbeTables(kRowsWithoutProbes);
static_assert(kProbeTables == 65, "a probe table for every version of entries 1 to 23");

// SplitMix64: a small, well-mixed step for deterministic data.
constexpr uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  return x ^ (x >> 31);
}

constexpr ProbeTable MakeProbeTable(int entry, int slot, int32_t size) {
  ProbeTable table{};
  uint64_t where = Mix(static_cast<uint64_t>(entry) << 32 | static_cast<uint32_t>(size));
  uint64_t what = Mix(static_cast<uint64_t>(entry) << 8 | static_cast<uint64_t>(slot));
  for (int i = 0; i < kProbesPerTable;) {
    where = Mix(where);
    auto offset = static_cast<int32_t>(where % static_cast<uint64_t>(size));
    bool seen = false;
    for (int j = 0; j < i; ++j) seen = seen || table[j].Offset == offset;
    if (seen) continue;
    what = Mix(what);
    table[i++] = {offset, static_cast<uint8_t>(what >> 56)};
  }
  return table;
}

struct ProbePool {
  std::array<ProbeTable, kProbeTables> tables{};
  // Index into `tables` of each slot's table, -1 where there is none.
  std::array<std::array<int, kVersionSlots>, kCatalogueEntries> index{};
};

constexpr ProbePool MakeProbePool(const Rows& rows) {
  ProbePool pool;
  int next = 0;
  for (int e = 0; e < kCatalogueEntries; ++e)
    for (int s = 0; s < kVersionSlots; ++s) {
      pool.index[e][s] = -1;
      if (e + 1 < kFirstChecksumEntry && rows[e].SlotSize[s] != 0) {
        pool.tables[next] = MakeProbeTable(e + 1, s + 1, rows[e].SlotSize[s]);
        pool.index[e][s] = next++;
      }
    }
  return pool;
}

constexpr ProbePool kProbes = MakeProbePool(kRowsWithoutProbes);

constexpr Rows AttachProbes(Rows rows) {
  for (int e = 0; e < kCatalogueEntries; ++e)
    for (int s = 0; s < kVersionSlots; ++s) {
      int i = kProbes.index[e][s];
      rows[e].SlotProbes[s] = i < 0 ? nullptr : kProbes.tables[i].data();
    }
  return rows;
}

constexpr Rows kCatalogue = AttachProbes(kRowsWithoutProbes);

}  // namespace

const TPatchPlikInfo& PatchCatalogue(int entry) {
  // Consumers only ask for 1..33; anything else is a programming error, caught
  // here rather than read outside the table.
  if (entry < 1 || entry > kCatalogueEntries)
    throw std::out_of_range("catalogue entry " + std::to_string(entry) + " is not 1 to 33");
  return kCatalogue[entry - 1];
}

}  // namespace upd
