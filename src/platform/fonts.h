#pragma once
// Fonts of the platform seam: which character sets the system offers a font
// face in on the screen.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/service.h"

namespace upd::platform {

class FontCatalog {
 public:
  virtual ~FontCatalog() = default;
  static FontCatalog& System();

  // The GDI character-set number of every font the system enumerates for
  // `face` on the screen's device context, in the order enumerated, repeats
  // included; empty when the face is not installed or the screen cannot be
  // reached.
  virtual std::vector<uint8_t> CharsetsOfFace(const std::u16string& face) = 0;
};

inline FontCatalog& Fonts() { return Use<FontCatalog>(); }

// A list of faces and their character sets: the system catalogue on Linux,
// where no face is installed, and the fixture of the tests.
class FakeFontCatalog : public FontCatalog {
 public:
  void Add(const std::u16string& face, std::vector<uint8_t> charsets) { faces_[face] = std::move(charsets); }
  std::vector<uint8_t> CharsetsOfFace(const std::u16string& face) override {
    asked_.push_back(face);
    auto it = faces_.find(face);
    return it == faces_.end() ? std::vector<uint8_t>{} : it->second;
  }
  // The faces asked about, in order.
  const std::vector<std::u16string>& Asked() const { return asked_; }

 private:
  std::map<std::u16string, std::vector<uint8_t>> faces_;
  std::vector<std::u16string> asked_;
};

}  // namespace upd::platform
