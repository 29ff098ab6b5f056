#include <gtest/gtest.h>

#include "engine/build_selection.h"

namespace upd {
namespace {

// Puts this build's own selection back however the test ends.
struct RestoreSelection {
  ~RestoreSelection() { AssignBuildSelection(MakeEntrySet({33}), 33); }
};

TEST(BuildSelection, DefaultsToEntry33AndRefusesACurrentNumberOutsideTheCatalogue) {
  RestoreSelection restore;
  EXPECT_EQ(SelectedEntries(), MakeEntrySet({33}));
  EXPECT_EQ(SelectedEntries().count(), 1u);
  EXPECT_EQ(CurrentPatchNumber(), 33);

  ASSERT_TRUE(AssignBuildSelection(MakeEntrySet({8, 29, 30}), 8));
  EXPECT_TRUE(SelectedEntries().test(29));
  EXPECT_FALSE(SelectedEntries().test(33));
  EXPECT_EQ(CurrentPatchNumber(), 8);

  for (int bad : {0, 34, 255}) {
    EXPECT_FALSE(AssignBuildSelection(MakeEntrySet({1}), static_cast<uint8_t>(bad))) << bad;
    EXPECT_EQ(CurrentPatchNumber(), 8) << "unchanged";
    EXPECT_EQ(SelectedEntries(), MakeEntrySet({8, 29, 30})) << "unchanged";
  }
}

}  // namespace
}  // namespace upd
