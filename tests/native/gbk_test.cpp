#include "common/gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(FileTypeText, Cases) {
  struct {
    const char* path;
    const char* type;
  } rows[] = {
      {"C:\\Apps\\foo.exe", "exe"},
      {"C:\\Apps\\foo.PNG", "PNG"},          // case kept
      {"C:\\my.pics\\logo", ""},             // a dot in a folder never counts
      {"C:\\a\\.png", "png"},
      {"C:\\a\\b.", ""},                     // dot at the end
      {"C:\\a\\", ""},                       // backslash at the end
      {"", ""},
      {"foo.tar.gz", "gz"},
      {"C:\\软件\\表.exe", "exe"},
      // 0x5C as the trail byte of a GBK character (81 5C) is no separator.
      {"C:\\d\\x.\x81\x5C", "\x81\x5C"},
      {"C:\\d.e\\\x81\x5C", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(gbk::FileTypeText(r.path), r.type) << "path: " << r.path;
}

TEST(SplitArguments, Cases) {
  using V = std::vector<std::string>;
  struct {
    const char* line;
    V args;
  } rows[] = {
      {"", V{}},
      {"   ", V{}},
      {"a b\tc", V{"a", "b", "c"}},
      {"\"C:\\a b\\x.url\" more", V{"C:\\a b\\x.url", "more"}},
      {"\"\"", V{""}},
      {"\"\" x", V{"", "x"}},
      {"ab\"cd\"", V{"ab", "cd"}},        // a quote ends an unquoted argument
      {"\"unterminated", V{"unterminated"}},
      // a trail byte 0x22 would be a quote, 0x20 a separator: taken whole instead
      {"\x81\x22x y", V{"\x81\x22x", "y"}},
      {"\"\x81\x22\" z", V{"\x81\x22", "z"}},
      {"a\x01" "b", V{"a", "b"}},            // control characters separate
  };
  for (const auto& r : rows) EXPECT_EQ(gbk::SplitArguments(r.line), r.args) << "line: " << r.line;
}

TEST(ArgumentsAfterProgramName, DropsTheProgram) {
  EXPECT_EQ(gbk::ArgumentsAfterProgramName("\"C:\\Program Files\\T\\Tesserin.exe\" \"C:\\a b.exe\""),
            std::vector<std::string>{"C:\\a b.exe"});
  EXPECT_TRUE(gbk::ArgumentsAfterProgramName("Tesserin.exe").empty());
  EXPECT_TRUE(gbk::ArgumentsAfterProgramName("").empty());
}

TEST(AsciiLower, KeepsDoubleByteCharacters) {
  EXPECT_EQ(gbk::AsciiLower("TesSerin V1"), "tesserin v1");
  // 0x81 0x41 is one character; its trail 'A' must stay upper case.
  EXPECT_EQ(gbk::AsciiLower("\x81" "AB"), "\x81" "Ab");
}

TEST(ReplaceAll, Cases) {
  EXPECT_EQ(gbk::ReplaceAll("a.exe.b.exe", ".exe", ""), "a.b");
  EXPECT_EQ(gbk::ReplaceAll("News.EXE", ".exe", ""), "News.EXE");
  EXPECT_EQ(gbk::ReplaceAll("x", "", "y"), "x");
}

}  // namespace
