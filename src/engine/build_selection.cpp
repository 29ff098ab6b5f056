#include "engine/build_selection.h"

#include "engine/catalogue.h"

namespace upd {
namespace {

struct BuildSelection {
  TEntrySet selected = MakeEntrySet({33});
  uint8_t current = 33;
};

BuildSelection& State() {
  static BuildSelection state;
  return state;
}

}  // namespace

TEntrySet MakeEntrySet(std::initializer_list<int> entries) {
  TEntrySet set;
  for (int entry : entries)
    if (entry >= 0 && static_cast<size_t>(entry) < set.size()) set.set(static_cast<size_t>(entry));
  return set;
}

const TEntrySet& SelectedEntries() { return State().selected; }

uint8_t CurrentPatchNumber() { return State().current; }

bool AssignBuildSelection(const TEntrySet& selectedEntries, uint8_t currentPatchNumber) {
  if (currentPatchNumber < 1 || currentPatchNumber > kCatalogueEntries) return false;
  State().selected = selectedEntries;
  State().current = currentPatchNumber;
  return true;
}

}  // namespace upd
