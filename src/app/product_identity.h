#pragma once
// Which product this build serves and what it applies: set once at start-up,
// read-only afterwards.

#include <bitset>
#include <cstdint>
#include <string>

namespace upd {

struct TSpecialEditionInfo {
  bool Present = false;
  std::string ScrambledCaption;  // scrambled with the product's keys, mode 6
  bool UseForeignLanguage = false;
};

struct ProductIdentity {
  int32_t AppId = 0;
  uint8_t ForeignLanguage = 0;
  uint8_t HomeLanguage = 0;
};

// The build's constants, assigned once by the entry point from the build
// configuration.
struct BuildConstants {
  int32_t AppId = 0;
  int32_t PatchKind = 0;
  std::bitset<256> SelectedEntries;
  uint8_t CurrentPatchNumber = 0;
  TSpecialEditionInfo SpecialEditionInfo;
};

const ProductIdentity& Product();
int32_t PatchKind();
const TSpecialEditionInfo& SpecialEditionInfo();

// Stores the AppId and derives the product's two languages. An AppId outside
// 1..13 shows "Unknown AppId !" and leaves both languages 0.
void InitProductIdentity(int32_t appId);

// Assigns PatchKind, SelectedEntries, CurrentPatchNumber and SpecialEditionInfo.
void AssignBuildConstants(const BuildConstants& constants);

// The display language the window starts in.
uint8_t InitialDisplayLanguage();

// Display name of the entry CurrentPatchNumber: the first name in Polish, the
// second in every other display language.
std::string AnnouncedName(int displayLanguage);
// VersionText of the entry CurrentPatchNumber.
std::string AnnouncedVersion();

}  // namespace upd
