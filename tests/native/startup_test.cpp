#include "tesserin/ui/startup.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsVersionCode, Table) {
  struct {
    unsigned major, minor, platform;
    int code;
  } rows[] = {
      {4, 0, 2, 4},   {3, 51, 2, 4},  {5, 0, 2, 5},  {5, 1, 2, 6},  {5, 2, 2, 7},  {6, 0, 2, 8},
      {6, 1, 2, 9},   {6, 2, 2, 10},  {6, 3, 2, 11}, {6, 4, 2, 12}, {6, 5, 2, 0},  {10, 0, 2, 12},
      {7, 0, 2, 12},  {4, 0, 1, 1},   {4, 10, 1, 2}, {4, 90, 1, 3},
  };
  for (const auto& r : rows)
    EXPECT_EQ(WindowsVersionCode(r.major, r.minor, r.platform), r.code)
        << r.major << "." << r.minor << " platform " << r.platform;
}

TEST(VersionTextFrom, FirstThreeCharacters) {
  EXPECT_EQ(VersionTextFrom("3.3.0.0"), "v3.3");
  EXPECT_EQ(VersionTextFrom("10.2.0.0"), "v10.");  // no rounding, the dot included
  EXPECT_EQ(VersionTextFrom("1"), "v1");
}

TEST(TitleContains, IgnoresAsciiCaseOnly) {
  EXPECT_TRUE(TitleContains("Tesserin v1.0", "Tesserin"));
  EXPECT_TRUE(TitleContains("TESSERIN", "Tesserin"));
  EXPECT_FALSE(TitleContains("启动中...", "Tesserin"));
  EXPECT_FALSE(TitleContains("Tesseri n", "Tesserin"));
}

TEST(RefusalText, NamesTheExecutable) { EXPECT_EQ(RefusalText("Tesserin.exe"), "请勿多开 [Tesserin.exe]！"); }

}  // namespace
