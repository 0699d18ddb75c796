// linktile's platform-free half: the names and paths a copy works out for itself, and
// which command lines set up and which launch.
// Chinese literals here are GBK bytes (the sources are built with -fexec-charset=GBK).
#include "linktile/linktile.h"

#include <gtest/gtest.h>

namespace {

TEST(LinktileSettingsPath, FromRunFolderAndOwnName) {
  const struct {
    const char* folder;
    const char* ownName;
    const char* launcher;
    const char* settings;
  } kRows[] = {
      {"C:\\Links", "News.exe", "News", "C:\\Links\\News.ini"},
      {"C:\\Links", "News.EXE", "News.EXE", "C:\\Links\\News.EXE.ini"},  // only the exact ".exe" goes
      {"C:\\Links", "News.Exe", "News.Exe", "C:\\Links\\News.Exe.ini"},
      {"C:\\Links", "a.exe.b.exe", "a.b", "C:\\Links\\a.b.ini"},         // every occurrence, anywhere
      {"C:\\Links", "my.exe.backup", "my.backup", "C:\\Links\\my.backup.ini"},
      {"C:\\Links", "x.exex.exe", "xx", "C:\\Links\\xx.ini"},            // ".exe" inside ".exex" too
      {"C:\\Links", ".exe", "", "C:\\Links\\.ini"},
      {"C:\\Links", "News", "News", "C:\\Links\\News.ini"},
      {"C:\\Links", "Bad News.exe", "Bad News", "C:\\Links\\Bad News.ini"},
      {"C:", "News.exe", "News", "C:\\News.ini"},                        // copy in a drive's root
      {"D:\\新闻.links", "新闻.exe", "新闻", "D:\\新闻.links\\新闻.ini"},
      {"\\\\server\\share", "News.exe", "News", "\\\\server\\share\\News.ini"},
  };
  for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
    const auto& r = kRows[i];
    EXPECT_EQ(linktile::LauncherName(r.ownName), r.launcher) << "row " << i << ": " << r.ownName;
    EXPECT_EQ(linktile::SettingsPath(r.folder, r.ownName), r.settings) << "row " << i << ": " << r.ownName;
  }
}

TEST(LinktileSetUpArgument, FirstNonEmptyArgumentSetsUp) {
  const struct {
    const char* line;
    const char* argument;  // "" launches
  } kRows[] = {
      {"\"C:\\Links\\News.exe\"", ""},
      {"\"C:\\Links\\News.exe\"   ", ""},
      {"News.exe", ""},
      {"", ""},
      {"\"C:\\Links\\News.exe\" \"\"", ""},                     // an empty quoted argument launches
      {"\"C:\\Links\\News.exe\" \"\" C:\\a.url", ""},           // ... and the next one is ignored
      {"\"C:\\Links\\News.exe\" \"C:\\My Links\\Daily News.url\"", "C:\\My Links\\Daily News.url"},
      {"C:\\Links\\News.exe C:\\a.url C:\\b.url", "C:\\a.url"},  // only the first counts
      {"\"C:\\Program Files\\L\\News.exe\" a.url", "a.url"},   // kept as passed, not made absolute
      {"\"C:\\Links\\News.exe\"\tC:\\a.url", "C:\\a.url"},
      {"\"C:\\Links\\News.exe\" \"C:\\新闻\\日报 新闻.url\"", "C:\\新闻\\日报 新闻.url"},
      // 0x81 0x22: a trail byte that looks like a quote belongs to its character
      {"\"C:\\Links\\News.exe\" \"C:\\\x81\x22 x.url\"", "C:\\\x81\x22 x.url"},
  };
  for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i)
    EXPECT_EQ(linktile::SetUpArgument(kRows[i].line), kRows[i].argument) << "row " << i << ": " << kRows[i].line;
}

TEST(LinktileIsShortcutFile, OnlyLowerCaseUrlType) {
  const struct {
    const char* path;
    bool accepted;
  } kRows[] = {
      {"C:\\Links\\Daily News.url", true},
      {"Daily News.url", true},
      {"C:\\Links\\.url", true},             // a file named just .url
      {"C:\\新闻\\日报.url", true},
      {"C:\\Links\\News.URL", false},        // upper case is refused, whatever the content
      {"C:\\Links\\News.Url", false},
      {"C:\\Links\\News.url.txt", false},
      {"C:\\Links\\News.url ", false},
      {"C:\\Links\\News.", false},
      {"C:\\Links\\News", false},
      {"C:\\my.url\\site", false},           // a dot in a folder name never counts
      {"C:\\Links.url\\", false},
      {"", false},
  };
  for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i)
    EXPECT_EQ(linktile::IsShortcutFile(kRows[i].path), kRows[i].accepted) << "row " << i << ": " << kRows[i].path;
}

}  // namespace
