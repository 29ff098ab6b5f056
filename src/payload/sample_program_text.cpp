// The sample program's text: the words of a German-Polish dictionary
// program's interface, phrases made of them, and their forms in code page
// 1250 and UTF-16.

#include <array>

#include "payload/sample_program_parts.h"

namespace upd::sample_program {
namespace {


constexpr std::array<std::string_view, 64> kGermanWords = {
    "Datei", "Bearbeiten", "Ansicht", "Extras", "Hilfe", "Öffnen", "Speichern", "Schließen",
    "Beenden", "Suchen", "Ersetzen", "Wörterbuch", "Übersetzung", "Einstellungen", "Sprache", "Fehler",
    "Warnung", "Abbrechen", "Weiter", "Zurück", "Drucken", "Kopieren", "Einfügen", "Ausschneiden",
    "Wort", "Satz", "Bedeutung", "Beispiel", "Grammatik", "Aussprache", "Verb", "Substantiv",
    "Adjektiv", "Plural", "Eintrag", "Liste", "Fenster", "Schrift", "Größe", "Farbe",
    "Verlauf", "Lesezeichen", "Seite", "Text", "nicht", "gefunden", "der", "die",
    "das", "und", "mit", "für", "werden", "kann", "ist", "Datenbank",
    "Stichwort", "Wendung", "Redewendung", "Artikel", "Genus", "Fall", "Zeitform", "Konjugation"};

constexpr std::array<std::string_view, 64> kPolishWords = {
    "Plik", "Edycja", "Widok", "Narzędzia", "Pomoc", "Otwórz", "Zapisz", "Zamknij",
    "Zakończ", "Szukaj", "Zamień", "Słownik", "Tłumaczenie", "Ustawienia", "Język", "Błąd",
    "Ostrzeżenie", "Anuluj", "Dalej", "Wstecz", "Drukuj", "Kopiuj", "Wklej", "Wytnij",
    "Słowo", "Zdanie", "Znaczenie", "Przykład", "Gramatyka", "Wymowa", "Czasownik", "Rzeczownik",
    "Przymiotnik", "liczba", "mnoga", "Hasło", "Lista", "Okno", "Czcionka", "Rozmiar",
    "Kolor", "Historia", "Zakładki", "Strona", "Tekst", "nie", "znaleziono", "jest",
    "się", "oraz", "dla", "może", "został", "bazy", "danych", "wyrażenie",
    "rodzaj", "przypadek", "czas", "odmiana", "niemiecki", "polski", "wersja", "pliku"};

constexpr std::array<std::string_view, 48> kIdentifiers = {
    "TForm", "TButton", "TLabel", "TPanel", "TEdit", "TListBox", "TMemo", "TMenuItem",
    "TToolBar", "TStatusBar", "TTimer", "TComboBox", "TCheckBox", "TRadioButton", "TPageControl", "TTabSheet",
    "TSpeedButton", "TImage", "TBevel", "TSplitter", "TRichEdit", "TTreeView", "TListView", "TPopupMenu",
    "Caption", "Left", "Top", "Width", "Height", "Font", "OnClick", "Visible",
    "Enabled", "TabOrder", "Hint", "Align", "Color", "Items", "Lines", "Text",
    "Glyph", "Flat", "Down", "GroupIndex", "Interval", "OnTimer", "Anchors", "ParentFont"};

// Code page 1250 and UTF-16 for the letters the words use.
struct Letter {
  char32_t unicode;
  uint8_t cp1250;
};
constexpr std::array<Letter, 25> kLetters = {{
    {U'Ä', 0xC4}, {U'ä', 0xE4}, {U'Ö', 0xD6}, {U'ö', 0xF6}, {U'Ü', 0xDC}, {U'ü', 0xFC}, {U'ß', 0xDF},
    {U'ą', 0xB9}, {U'ć', 0xE6}, {U'ę', 0xEA}, {U'ł', 0xB3}, {U'ń', 0xF1}, {U'ó', 0xF3}, {U'ś', 0x9C},
    {U'ź', 0x9F}, {U'ż', 0xBF}, {U'Ą', 0xA5}, {U'Ć', 0xC6}, {U'Ę', 0xCA}, {U'Ł', 0xA3}, {U'Ń', 0xD1},
    {U'Ó', 0xD3}, {U'Ś', 0x8C}, {U'Ź', 0x8F}, {U'Ż', 0xAF},
}};

std::vector<char32_t> DecodeUtf8(std::string_view s) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<uint8_t>(s[i]);
    if (c < 0x80) {
      out.push_back(c);
      i += 1;
    } else {  // the words hold two-byte sequences only
      out.push_back(static_cast<char32_t>((c & 0x1F) << 6 | (static_cast<uint8_t>(s[i + 1]) & 0x3F)));
      i += 2;
    }
  }
  return out;
}

uint8_t ToCp1250(char32_t c) {
  if (c < 0x80) return static_cast<uint8_t>(c);
  for (const Letter& l : kLetters)
    if (l.unicode == c) return l.cp1250;
  return '?';
}

}  // namespace

std::string_view PickWord(Random& rng) { return rng.Percent(50) ? rng.Pick(kGermanWords) : rng.Pick(kPolishWords); }

std::string_view PickIdentifier(Random& rng) { return rng.Pick(kIdentifiers); }

// A phrase of the interface: a few words of one language, sometimes with a
// placeholder or a final punctuation mark, as messages are.
std::string MakePhrase(Random& rng) {
  const auto& words = rng.Percent(50) ? kGermanWords : kPolishWords;
  std::string s;
  const int count = rng.Percent(40) ? 1 : rng.Between(2, 9);
  for (int i = 0; i < count; ++i) {
    if (i) s += ' ';
    s += rng.Pick(words);
  }
  switch (rng.Below(8)) {
    case 0: s += " '%s'"; break;
    case 1: s += ": %d"; break;
    case 2: s += '.'; break;
    case 3: s += '?'; break;
    case 4: s += "..."; break;
    default: break;
  }
  return s;
}

std::vector<uint8_t> Cp1250(std::string_view utf8) {
  std::vector<uint8_t> out;
  for (char32_t c : DecodeUtf8(utf8)) out.push_back(ToCp1250(c));
  return out;
}

void Utf16(Bytes& out, std::string_view utf8) {
  for (char32_t c : DecodeUtf8(utf8)) out.U16(static_cast<uint32_t>(c));
}

// The release, up to `release`, that last reworded item `id` of some kind.
int LastChange(uint64_t kind, uint32_t id, int release) {
  int last = 1;
  for (int r = 2; r <= release; ++r)
    if (Seed(5, kind, uint64_t{id} << 8 | static_cast<uint64_t>(r)) % 100 < kReleases[r - 1].rewordPercent) last = r;
  return last;
}

// Text items keep their words from release to release; a few are reworded.
std::string MakeString(uint32_t id, uint64_t kind, int release) {
  Random rng(Seed(6 + kind, id, static_cast<uint64_t>(LastChange(kind, id, release))));
  if (kind == 0 && rng.Percent(25)) {  // identifiers and format strings of the code
    std::string s = std::string(PickIdentifier(rng));
    if (rng.Percent(50)) s += PickIdentifier(rng);
    if (rng.Percent(30)) s += std::to_string(rng.Below(20));
    return s;
  }
  return MakePhrase(rng);
}

}  // namespace upd::sample_program
