#pragma once
// The build's selection from the patch catalogue: which entries the update run
// processes (in ascending entry order) and which entry names the update in the
// window's texts. Process-wide; the entry point assigns both once at start-up,
// before the window exists, from the build configuration, and nothing changes
// them afterwards.

#include <bitset>
#include <cstdint>
#include <initializer_list>

namespace upd {

// A set of entry numbers: bit n for entry number n. Only 1..33 are ever tested.
using TEntrySet = std::bitset<256>;

TEntrySet MakeEntrySet(std::initializer_list<int> entries);

// {33} until assigned.
const TEntrySet& SelectedEntries();
// 33 until assigned.
uint8_t CurrentPatchNumber();

// Sets both build constants. Answers false and changes nothing when
// `currentPatchNumber` is not a catalogue entry number (1..33), since the window
// looks its texts up in the catalogue by that number.
bool AssignBuildSelection(const TEntrySet& selectedEntries, uint8_t currentPatchNumber);

}  // namespace upd
