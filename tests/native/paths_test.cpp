#include "tesserin/tile/paths.h"

#include <gtest/gtest.h>

namespace {

// "\x95\x5C" is one GBK character whose trail byte is a backslash; "\xB0\xA1" is a
// character, "\xA1\xA1" the full-width space.
TEST(Paths, Table) {
  struct {
    const char* path;
    const char* withoutExtension;
    const char* baseName;
    const char* folder;
  } rows[] = {
      {"C:\\Apps\\Foo\\foo.exe", "C:\\Apps\\Foo\\foo", "foo", "C:\\Apps\\Foo\\"},
      {"C:\\my.app\\run", "C:\\my", "", "C:\\my.app\\"},  // the dot of a folder counts for the whole path only
      {"C:\\a\\b", "", "", "C:\\a\\"},
      {"", "", "", ""},
      {"foo.tar.gz", "foo.tar", "foo.tar", ""},
      {"\\\\srv\\share\\a.exe", "\\\\srv\\share\\a", "a", "\\\\srv\\share\\"},
      {"C:\\a\\.exe", "C:\\a\\", "", "C:\\a\\"},
      {"C:\\d\\\x95\x5C.exe", "C:\\d\\\x95\x5C", "\x95\x5C", "C:\\d\\"},
      {"C:\\d\\\x95\x5C", "", "", "C:\\d\\"},
      {"C:\\\xB2\xE2.\xCA\xD4\\\x95\x5C.exe", "C:\\\xB2\xE2.\xCA\xD4\\\x95\x5C", "\x95\x5C", "C:\\\xB2\xE2.\xCA\xD4\\"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(PathWithoutExtension(r.path), r.withoutExtension) << "path: " << r.path;
    EXPECT_EQ(BaseNameWithoutExtension(r.path), r.baseName) << "path: " << r.path;
    EXPECT_EQ(FolderOfPath(r.path), r.folder) << "path: " << r.path;
  }
}

TEST(Paths, TrimTrailingSpaces) {
  struct {
    const char* text;
    const char* trimmed;
  } rows[] = {
      {"", ""},
      {"   ", ""},
      {" a b  ", " a b"},
      {"a\xA1\xA1 \xA1\xA1", "a"},
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      // the character B0 A1, a full-width space, a lone A1: the text does not end in a space
      {"\xB0\xA1\xA1\xA1\xA1", "\xB0\xA1\xA1\xA1\xA1"},
      {"a\t", "a\t"},
  };
  for (const auto& r : rows) EXPECT_EQ(TrimTrailingSpaces(r.text), r.trimmed) << "text: " << r.text;
}

}  // namespace
