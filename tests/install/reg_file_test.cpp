// REGEDIT4 files for `reg import`: quoting, hex(1) for anything that is not
// printable ASCII, line continuation, and names that cannot be written.

#include <gtest/gtest.h>

#include "install/reg_file.h"

namespace upd {
namespace {

std::string FileWith(const RegFileValue& value) {
  std::string error;
  auto text = MakeRegFile({"HKEY_CURRENT_USER\\SOFTWARE\\Varsko\\X", {value}}, error);
  EXPECT_TRUE(text) << error;
  return text.value_or("");
}

TEST(RegFile, ValueLines) {
  const std::string head = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Varsko\\X]\r\n";
  struct Case {
    const char* why;
    RegFileValue value;
    std::string line;
  } cases[] = {
      {"printable text is quoted, backslash and quote escaped", {"Katalog", false, "C:\\a \"b\"\\", 0},
       "\"Katalog\"=\"C:\\\\a \\\"b\\\"\\\\\""},
      {"an empty string", {"n", false, "", 0}, "\"n\"=\"\""},
      {"a high byte: hex(1) with the terminating zero", {"n", false, "A\xF3", 0}, "\"n\"=hex(1):41,f3,00"},
      {"DEL is not printable", {"n", false, "\x7F", 0}, "\"n\"=hex(1):7f,00"},
      {"a control byte", {"n", false, "a\tb", 0}, "\"n\"=hex(1):61,09,62,00"},
      {"a name with high bytes and escapes stays quoted", {"\xF4#\\\"", true, "", 1},
       "\"\xF4#\\\\\\\"\"=dword:00000001"},
      {"a number", {"n", true, "", 0xDEADBEEF}, "\"n\"=dword:deadbeef"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileWith(c.value), head + c.line + "\r\n\r\n") << c.why;
}

TEST(RegFile, LongHexContinuesOnTheNextLine) {
  std::string text = FileWith({"Katalog", false, std::string(40, '\x80'), 0});
  size_t start = text.find("\"Katalog\"");
  std::string value = text.substr(start, text.size() - start - 4);  // without the closing CR LF CR LF
  std::string joined;
  size_t line = 0;
  for (size_t pos = 0;;) {
    size_t end = value.find("\r\n", pos);
    std::string part = value.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    EXPECT_LE(part.size(), 80u) << part;
    if (line++ > 0) {
      ASSERT_EQ(part.substr(0, 2), "  ");
      part = part.substr(2);
    }
    if (end == std::string::npos) {
      joined += part;
      break;
    }
    ASSERT_EQ(part.back(), '\\');
    joined += part.substr(0, part.size() - 1);
    pos = end + 2;
  }
  EXPECT_GT(line, 1u);
  std::string want = "\"Katalog\"=hex(1):";
  for (int i = 0; i < 40; ++i) want += "80,";
  EXPECT_EQ(joined, want + "00");
}

TEST(RegFile, NamesWithControlBytesAreRefused) {
  std::string error;
  EXPECT_FALSE(MakeRegFile({"HKEY_CURRENT_USER\\X", {{"a\nb", false, "x", 0}}}, error));
  EXPECT_NE(error.find("value name"), std::string::npos);
}

}  // namespace
}  // namespace upd
