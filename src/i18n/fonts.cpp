#include "i18n/fonts.h"

#include <algorithm>
#include <cstdio>

#include "platform/fonts.h"

namespace upd {
namespace {

std::u16string& Face() {
  static std::u16string face = u"Arial";
  return face;
}

std::string CharsetName(uint8_t charset) {
  for (const TCharSetRec& entry : CharsetNames)
    if (entry.Charset == charset) return std::string(entry.Name);
  char unknown[32];
  std::snprintf(unknown, sizeof unknown, "Unknown charset %d", charset);
  return unknown;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(x) == lower(y);
         });
}

}  // namespace

const std::u16string& UiFontFace() { return Face(); }

void ApplyLanguageFont(FontDescription& font, int language) {
  font.face = UiFontFace();
  if (language >= 0 && language < static_cast<int>(LanguageKeyInfo.size()))
    font.charset = LanguageKeyInfo[static_cast<size_t>(language)].Charset;
}

void ListFontCharsets(const std::u16string& face, std::vector<std::string>& list) {
  // A logical font holds a face name of at most 31 characters.
  for (uint8_t charset : platform::Fonts().CharsetsOfFace(face.substr(0, 31))) list.push_back(CharsetName(charset));
}

bool FontHasCharset(const std::u16string& face, std::string_view charsetName) {
  std::vector<std::string> names;
  ListFontCharsets(face, names);
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return SameIgnoringAsciiCase(name, charsetName); });
}

const std::u16string& ChooseUiFontFace() {
  Face() = u"Arial";
  if (!FontHasCharset(u"Arial", "EASTEUROPE_CHARSET") && FontHasCharset(u"Tahoma", "EASTEUROPE_CHARSET"))
    Face() = u"Tahoma";
  return Face();
}

}  // namespace upd
