// The catalogue's invariants over all 33 rows, the rows that identification and
// the update run single out, and entry 33 in full.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/catalogue.h"

namespace upd {
namespace {

std::vector<int> NonEmptySlots(int entry) {
  std::vector<int> slots;
  for (int s = 1; s <= kVersionSlots; ++s)
    if (PatchCatalogue(entry).SlotSize[s - 1] != 0) slots.push_back(s);
  return slots;
}

std::set<int> EntriesWhere(bool (*test)(const TPatchPlikInfo&)) {
  std::set<int> entries;
  for (int e = 1; e <= kCatalogueEntries; ++e)
    if (test(PatchCatalogue(e))) entries.insert(e);
  return entries;
}

// Two probe tables can be told apart when some offset of both expects
// different bytes: then no file holds both.
bool Distinguishable(const TPatchProbe* a, const TPatchProbe* b) {
  for (int i = 0; i < kProbesPerTable; ++i)
    for (int j = 0; j < kProbesPerTable; ++j)
      if (a[i].Offset == b[j].Offset && a[i].Value != b[j].Value) return true;
  return false;
}

// The code page 1250 letters the display names use, as UTF-8. A byte above 0x7F
// that is not listed (a UTF-8 sequence written into a name, say) fails the test.
std::string DecodeCp1250(std::string_view text) {
  static const std::map<unsigned char, std::string> kHigh = {
      {0xB3, "ł"}, {0xEA, "ę"}, {0xF1, "ń"}, {0xDC, "Ü"}, {0xE7, "ç"}, {0xED, "í"}, {0xF3, "ó"}};
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      auto it = kHigh.find(c);
      if (it == kHigh.end()) return "<unexpected byte " + std::to_string(c) + ">";
      out += it->second;
    }
  }
  return out;
}

TEST(PatchCatalogue, EveryRowIsComplete) {
  for (int e = 1; e <= kCatalogueEntries; ++e) {
    SCOPED_TRACE("entry " + std::to_string(e));
    const auto& row = PatchCatalogue(e);
    EXPECT_FALSE(row.FileName.empty());
    EXPECT_EQ(row.FileName.find_first_of("\\/:"), std::string_view::npos) << "a bare file name";
    EXPECT_FALSE(row.ResourceName[0].empty());
    EXPECT_FALSE(row.VersionText.empty());
    for (auto name : row.DisplayName) {
      EXPECT_FALSE(name.empty());
      EXPECT_EQ(DecodeCp1250(name).find("<unexpected"), std::string::npos) << name;
    }
  }
}

TEST(PatchCatalogue, CurrentSlotIsTheHighestVersionAndVersionsComeFirst) {
  for (int e = 1; e <= kCatalogueEntries; ++e) {
    SCOPED_TRACE("entry " + std::to_string(e));
    const auto& row = PatchCatalogue(e);
    auto slots = NonEmptySlots(e);
    ASSERT_FALSE(slots.empty());
    EXPECT_EQ(row.CurrentSlot, slots.back());
    for (int32_t size : row.SlotSize) EXPECT_GE(size, 0);
    if (e != 2) {
      EXPECT_EQ(slots.size(), static_cast<size_t>(slots.back())) << "slots 1.." << slots.back();
    }
  }
}

TEST(PatchCatalogue, ProbeEntriesHaveATableForEveryVersionInsideTheFile) {
  int tables = 0;
  for (int e = 1; e < kFirstChecksumEntry; ++e) {
    const auto& row = PatchCatalogue(e);
    for (int s = 1; s <= kVersionSlots; ++s) {
      SCOPED_TRACE("entry " + std::to_string(e) + " slot " + std::to_string(s));
      EXPECT_EQ(row.SlotCrc[s - 1], 0u);
      const int32_t size = row.SlotSize[s - 1];
      const TPatchProbe* probes = row.SlotProbes[s - 1];
      ASSERT_EQ(probes != nullptr, size != 0);
      if (!probes) continue;
      ++tables;
      std::set<int32_t> offsets;
      for (int i = 0; i < kProbesPerTable; ++i) {
        EXPECT_GE(probes[i].Offset, 0);
        EXPECT_LT(probes[i].Offset, size);
        offsets.insert(probes[i].Offset);
      }
      // A repeated offset could ask for two different bytes: a version no file matches.
      EXPECT_EQ(offsets.size(), static_cast<size_t>(kProbesPerTable)) << "offsets are distinct";
    }
  }
  EXPECT_EQ(tables, 65);
}

TEST(PatchCatalogue, ChecksumEntriesHaveACrcForEveryVersionAndNoProbes) {
  for (int e = kFirstChecksumEntry; e <= kCatalogueEntries; ++e) {
    const auto& row = PatchCatalogue(e);
    for (int s = 1; s <= kVersionSlots; ++s) {
      SCOPED_TRACE("entry " + std::to_string(e) + " slot " + std::to_string(s));
      EXPECT_EQ(row.SlotProbes[s - 1], nullptr);
      EXPECT_EQ(row.SlotCrc[s - 1] != 0, row.SlotSize[s - 1] != 0);
    }
  }
}

TEST(PatchCatalogue, SlotsOfOneSizeAreTheListedOnesAndCanBeToldApart) {
  std::set<std::tuple<int, int, int>> shared;  // entry, lower slot, higher slot
  for (int e = 1; e <= kCatalogueEntries; ++e) {
    const auto& row = PatchCatalogue(e);
    for (int a = 1; a <= kVersionSlots; ++a)
      for (int b = a + 1; b <= kVersionSlots; ++b) {
        if (row.SlotSize[a - 1] == 0 || row.SlotSize[a - 1] != row.SlotSize[b - 1]) continue;
        shared.insert({e, a, b});
        SCOPED_TRACE("entry " + std::to_string(e) + " slots " + std::to_string(a) + ", " + std::to_string(b));
        if (e < kFirstChecksumEntry)
          EXPECT_TRUE(Distinguishable(row.SlotProbes[a - 1], row.SlotProbes[b - 1]));
        else
          EXPECT_NE(row.SlotCrc[a - 1], row.SlotCrc[b - 1]);
      }
  }
  std::set<std::tuple<int, int, int>> listed = {{1, 4, 5}, {1, 6, 7}, {13, 2, 3}, {15, 2, 3}, {16, 1, 2}, {18, 1, 2}};
  EXPECT_EQ(shared, listed);
  EXPECT_EQ(PatchCatalogue(16).SlotSize[0], 1956864);
}

TEST(PatchCatalogue, TellingRows) {
  EXPECT_EQ(EntriesWhere([](const TPatchPlikInfo& r) { return r.CurrentSlot == 1; }), (std::set<int>{9, 10, 21, 32}));
  EXPECT_EQ(EntriesWhere([](const TPatchPlikInfo& r) { return !r.ResourceName[1].empty(); }),
            (std::set<int>{1, 8, 13, 15, 20, 24, 25, 26, 31, 32, 33}));
  EXPECT_EQ(NonEmptySlots(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(NonEmptySlots(2), (std::vector<int>{1, 4}));
  EXPECT_EQ(NonEmptySlots(13), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(PatchCatalogue(29).FileName, "VarskoTrDe3.dot");
  EXPECT_EQ(PatchCatalogue(30).FileName, "VarskoTrDe3d.dot");
}

TEST(PatchCatalogue, OnlyTheListedEntriesShareAFileName) {
  // Windows compares file names without regard to letter case, so do we.
  std::map<std::string, std::set<int>> byName;
  for (int e = 1; e <= kCatalogueEntries; ++e) {
    std::string name(PatchCatalogue(e).FileName);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    byName[name].insert(e);
  }
  std::set<std::set<int>> groups;
  for (auto& [name, entries] : byName)
    if (entries.size() > 1) groups.insert(entries);
  EXPECT_EQ(groups, (std::set<std::set<int>>{{11, 19, 27}, {8, 33}, {13, 32}, {20, 31}}));
  EXPECT_EQ(PatchCatalogue(8).FileName, "DerodUz.exe");
}

TEST(PatchCatalogue, ResourceNamesAreUnique) {
  // A build that selects several entries embeds each of their payloads by name.
  std::set<std::string_view> seen;
  for (int e = 1; e <= kCatalogueEntries; ++e)
    for (auto name : PatchCatalogue(e).ResourceName)
      if (!name.empty()) {
        EXPECT_TRUE(seen.insert(name).second) << name;
      }
}

TEST(PatchCatalogue, Entry33) {
  const auto& row = PatchCatalogue(33);
  EXPECT_EQ(DecodeCp1250(row.DisplayName[0]), "Varsko Tłumacz niemiecko-polski 2.2");
  EXPECT_EQ(DecodeCp1250(row.DisplayName[1]), "Varsko Übersetzer Deutsch-Polnisch 2.2");
  EXPECT_EQ(row.DisplayName[0], "Varsko T\xB3umacz niemiecko-polski 2.2");  // the bytes themselves
  EXPECT_EQ(row.VersionText, "2.2.1");
  EXPECT_EQ(row.FileName, "DerodUz.exe");
  EXPECT_EQ(row.ResourceName[0], "PDE22TDA");
  EXPECT_EQ(row.ResourceName[1], "PDE22TDB");
  EXPECT_EQ(row.CurrentSlot, 5);
  const std::array<int32_t, kVersionSlots> sizes = {2050048, 2143744, 2155008, 2314752, 2315264};
  const std::array<uint32_t, kVersionSlots> crcs = {0x8F07E7C9, 0xD4A4D0B1, 0x121C663D, 0x37BA25E3, 0x65E3C03E};
  EXPECT_EQ(row.SlotSize, sizes);
  EXPECT_EQ(row.SlotCrc, crcs);
}

TEST(PatchCatalogue, EntryNumbersOutsideTheTableThrow) {
  EXPECT_THROW(PatchCatalogue(0), std::out_of_range);
  EXPECT_THROW(PatchCatalogue(34), std::out_of_range);
  EXPECT_NO_THROW(PatchCatalogue(1));
}

}  // namespace
}  // namespace upd
