#include "app/product_identity.h"

#include "engine/build_selection.h"
#include "engine/catalogue.h"
#include "i18n/messages.h"
#include "i18n/startup_facts.h"
#include "platform/message_box.h"

namespace upd {
namespace {

ProductIdentity g_product;
int32_t g_patch_kind = 0;
TSpecialEditionInfo g_special_edition;

// The product's language other than Polish, by AppId; 0 for an unknown AppId.
int ForeignLanguageOf(int32_t appId) {
  switch (appId) {
    case 1: case 11: return kFrench;
    case 2: case 3: case 6: case 7: case 13: return kEnglish;
    case 4: case 5: case 12: return kGerman;
    case 8: return kItalian;
    case 9: return kSpanish;
    case 10: return kRussian;
    default: return -1;
  }
}

}  // namespace

const ProductIdentity& Product() { return g_product; }
int32_t PatchKind() { return g_patch_kind; }
const TSpecialEditionInfo& SpecialEditionInfo() { return g_special_edition; }

void InitProductIdentity(int32_t appId) {
  g_product = ProductIdentity{};
  g_product.AppId = appId;
  int foreign = ForeignLanguageOf(appId);
  if (foreign < 0)
    platform::Use<platform::PlainMessageBox>().Show("Unknown AppId !");
  else
    g_product.ForeignLanguage = static_cast<uint8_t>(foreign);
  g_product.HomeLanguage = appId == 13 ? kHungarian : kPolish;
}

void AssignBuildConstants(const BuildConstants& constants) {
  g_patch_kind = constants.PatchKind;
  g_special_edition = constants.SpecialEditionInfo;
  AssignBuildSelection(constants.SelectedEntries, constants.CurrentPatchNumber);
}

uint8_t InitialDisplayLanguage() {
  int system = SystemLanguage();
  if (system == g_product.ForeignLanguage) return static_cast<uint8_t>(system);
  return g_special_edition.UseForeignLanguage ? g_product.ForeignLanguage : g_product.HomeLanguage;
}

std::string AnnouncedName(int displayLanguage) {
  const auto& entry = PatchCatalogue(CurrentPatchNumber());
  return std::string(entry.DisplayName[displayLanguage == kPolish ? 0 : 1]);
}

std::string AnnouncedVersion() { return std::string(PatchCatalogue(CurrentPatchNumber()).VersionText); }

}  // namespace upd
