#pragma once
// The constants of the build an executable carries, as the start-up assigns
// them. Include only from an executable that links upd::build_<name>
// (upd_embed_build_resources), whose generated build_config.h this reads.

#include "app/product_identity.h"
#include "build_config.h"

namespace upd {

inline BuildConstants ThisBuild() {
  BuildConstants c;
  c.AppId = build::kAppId;
  c.PatchKind = build::kPatchKind;
  for (int entry : build::kSelectedEntries) c.SelectedEntries.set(static_cast<size_t>(entry));
  c.CurrentPatchNumber = build::kCurrentPatchNumber;
  c.SpecialEditionInfo.Present = build::kSpecialEditionInfo.Present;
  c.SpecialEditionInfo.ScrambledCaption = std::string(build::kSpecialEditionInfo.ScrambledCaption);
  c.SpecialEditionInfo.UseForeignLanguage = build::kSpecialEditionInfo.UseForeignLanguage;
  return c;
}

}  // namespace upd
