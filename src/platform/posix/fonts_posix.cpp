// Linux builds draw no Windows fonts: the catalogue knows no face, so the user
// interface keeps its first choice of face.

#include "platform/fonts.h"

namespace upd::platform {

FontCatalog& FontCatalog::System() {
  static FakeFontCatalog instance;
  return instance;
}

}  // namespace upd::platform
