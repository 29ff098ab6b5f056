// The system's font enumeration under Windows (or Wine): what it offers for the
// two faces the user interface may take. Which fonts are installed differs from
// system to system, so this reports rather than asserts.

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "i18n/fonts.h"
#include "i18n/utf8.h"

namespace upd {
namespace {

TEST(SystemFonts, ReportsCharsetsOfTheUserInterfaceFaces) {
  for (const std::u16string face : {u"Arial", u"Tahoma"}) {
    std::vector<std::string> names;
    ListFontCharsets(face, names);
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    std::cout << Utf16ToUtf8(face) << ": " << (names.empty() ? "(none)" : joined) << std::endl;
    RecordProperty(Utf16ToUtf8(face), joined);
  }
  // An empty face enumerates every family: shows whether enumeration works at all.
  std::vector<std::string> all;
  ListFontCharsets(u"", all);
  std::cout << "every face: " << all.size() << " fonts enumerated" << std::endl;
  std::cout << "chosen face: " << Utf16ToUtf8(ChooseUiFontFace()) << std::endl;
  const std::u16string chosen = UiFontFace();
  EXPECT_TRUE(chosen == u"Arial" || chosen == u"Tahoma");
}

}  // namespace
}  // namespace upd
