// The shortcut step: writing shortcuts, renewing a program's Start-menu shortcut, and
// pinning a new tile through the real syspin.dll beside the test program.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <thread>

#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tests/wine/programs_folder.h"
#include "tests/wine/support.h"
#include "tests/wine/window_fixture.h"

namespace {

const char* const kWriteFailed = "创建快捷方式失败！请检查！";

class ShortcutStep : public WindowTest {
 protected:
  std::string Program(const std::string& relative) { return MakeStandInProgram(temp, relative); }
  // Loads `path` as a drop would and types `tileName` into the name box.
  void LoadAndName(const std::string& path, const std::string& tileName) {
    ASSERT_TRUE(LoadTarget(path));
    SetText("编辑框_文件名称", tileName);
  }
  // Checks a shortcut that the step wrote for `program`.
  static void ExpectWrittenFor(const std::string& lnk, const std::string& program) {
    LinkProperties link;
    ASSERT_TRUE(ReadLink(lnk, &link)) << lnk;
    EXPECT_EQ(link.target, program);
    EXPECT_EQ(link.workingFolder, program.substr(0, program.rfind('\\') + 1));
    EXPECT_EQ(link.description, "") << "written afresh";
  }
  static std::string DescriptionOf(const std::string& lnk) {
    LinkProperties link;
    return ReadLink(lnk, &link) ? link.description : "(unreadable)";
  }

  TempFolder temp;
};

// A path of exactly `units` characters: `prefix`, filler, `suffix`.
std::string PathOfLength(const std::string& prefix, size_t units, const std::string& suffix) {
  return prefix + std::string(units - prefix.size() - suffix.size(), 'p') + suffix;
}

// Holds a file open without FILE_SHARE_DELETE, so it can be neither moved nor deleted.
struct Busy {
  explicit Busy(const std::string& path)
      : file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr)) {}
  UniqueFileHandle file;
};

TEST(ShortcutCommand, PinCommandLine) {
  struct Row {
    const char *runFolder, *program, *expected;
  } rows[] = {
      {"C:\\Tools", "C:\\Apps\\Foo\\foo.exe", "cmd /c \"\"C:\\Tools\\syspin.dll\" \"C:\\Apps\\Foo\\foo.exe\" 51201\""},
      {"D:\\磁贴 工具", "C:\\应用 目录\\表.exe", "cmd /c \"\"D:\\磁贴 工具\\syspin.dll\" \"C:\\应用 目录\\表.exe\" 51201\""},
  };
  for (const Row& row : rows) EXPECT_EQ(PinCommandLine(row.runFolder, row.program), row.expected);
}

TEST_F(ShortcutStep, WriteShortcutSetsTheProperties) {
  const std::string icon = Program("图标.ico");
  struct Row {
    std::string target, icon;
    bool written;
    std::string workingFolder;
  } rows[] = {
      {Program("应用 甲\\foo.exe"), icon, true, temp / "应用 甲\\"},
      // The second byte of 0x81 0x5C is no backslash: the file name is one character.
      {Program("\x81\x5C.exe"), "", true, temp.path + "\\"},
      {Program("乙\\\x81\x5C\\bar.exe"), icon, true, temp / "乙\\\x81\x5C\\"},
      {"foo.exe", icon, false, ""},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": " + row.target);
    const std::string lnk = temp / ("写入" + std::to_string(i) + ".lnk");
    EXPECT_EQ(WriteShortcut(lnk, row.target, row.icon), row.written);
    EXPECT_EQ(FileExists(lnk), row.written);
    if (!row.written) continue;
    LinkProperties link;
    ASSERT_TRUE(ReadLink(lnk, &link));
    EXPECT_EQ(link.target, row.target);
    EXPECT_EQ(link.workingFolder, row.workingFolder);
    EXPECT_EQ(link.iconLocation, row.icon);
    EXPECT_EQ(link.description, "");
    EXPECT_EQ(link.arguments, "");
    EXPECT_EQ(link.hotkey, 0);
    EXPECT_EQ(link.showCommand, DWORD(SW_SHOWNORMAL));
  }
}

TEST_F(ShortcutStep, UpdateWritesTheNewShortcutAndRemovesTheOld) {
  const std::string program = Program("应用\\磁贴更新.exe");
  const std::string desktop = temp / "桌面上.lnk";
  struct Row {
    const char* what;
    const char* existing;  // name in the Programs folder; "" for the desktop shortcut
    const char* tileName;
  } rows[] = {
      {"same name (not the program's base name)", "磁贴更新甲", "磁贴更新甲"},
      {"name changed in case only", "TileCase", "TILECASE"},
      {"new name", "磁贴更新乙", "磁贴更新丙"},
      {"dropped desktop shortcut", "", "磁贴更新丁"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ProgramsShortcuts programs;
    const std::string newPath = programs.Own(row.tileName);
    std::string oldPath = desktop;
    if (*row.existing) oldPath = programs.Make(row.existing, program, "old");
    else ASSERT_TRUE(MakeLink(desktop, program, "old"));
    const std::vector<std::string> before = programs.Files();

    LoadAndName(*row.existing ? program : desktop, row.tileName);
    ASSERT_EQ(LoadedTile.ShortcutPath, oldPath);
    shown.clear();
    EXPECT_TRUE(UpdateStartMenuShortcut());
    EXPECT_TRUE(shown.empty());
    ExpectWrittenFor(newPath, program);
    const bool sameFile = _stricmp(oldPath.c_str(), newPath.c_str()) == 0;
    EXPECT_EQ(FileExists(oldPath), sameFile);
    // Nothing else is left in the folder (no temporary file). The file system keeps a
    // name's case as it likes when a file replaces another of the same name.
    auto without = [](std::vector<std::string> names, const std::string& path) {
      names.erase(std::remove_if(names.begin(), names.end(),
                                 [&](const std::string& n) { return _stricmp(n.c_str(), FileNameOf(path).c_str()) == 0; }),
                  names.end());
      return names;
    };
    std::vector<std::string> after = programs.Files();
    EXPECT_EQ(without(after, newPath).size(), after.size() - 1) << "the new shortcut is listed";
    EXPECT_EQ(without(after, newPath), without(before, oldPath));
  }
}

TEST_F(ShortcutStep, FailedUpdateKeepsTheOldShortcut) {
  const std::string program = Program("应用\\磁贴失败.exe");
  ProgramsShortcuts programs;
  // Exactly MAX_PATH characters: one more than the ANSI functions take.
  const std::string tooLongName(MAX_PATH - programs.Folder().size() - 4, 'n');
  const std::string tooLongProgram = PathOfLength(temp.path + "\\", MAX_PATH, ".exe");
  enum Named { kOld, kNew, kProgram };
  struct Row {
    const char* what;
    std::string tileName, programBox;
    bool busy;    // the old shortcut is held open
    Named named;  // the path the message names
  } rows[] = {
      {"target without a backslash", "磁贴失败甲", "磁贴失败.exe", false, kOld},
      {"name a file cannot have", "磁贴|失败", program, false, kOld},
      {"old shortcut busy, same name", "磁贴失败甲", program, true, kOld},
      {"program path too long", "磁贴失败甲", tooLongProgram, false, kProgram},
      {"new path too long", tooLongName, program, false, kNew},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string oldPath = programs.Make("磁贴失败甲", program, "old");
    const std::string newPath = programs.Own(row.tileName);
    const std::vector<std::string> before = programs.Files();
    LoadAndName(program, row.tileName);
    SetText("编辑框_程序路径", row.programBox);
    shown.clear();
    {
      Busy busy(row.busy ? oldPath : std::string());
      EXPECT_FALSE(UpdateStartMenuShortcut());
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kWriteFailed + (row.named == kOld ? oldPath : row.named == kNew ? newPath : row.programBox));
    EXPECT_EQ(shown[0].caption, ErrorCaption);
    EXPECT_EQ(shown[0].flags, unsigned(MB_OK | MB_TASKMODAL));
    EXPECT_EQ(DescriptionOf(oldPath), "old") << "the old shortcut is untouched";
    EXPECT_EQ(programs.Files(), before) << "nothing written or left behind";
  }
}

TEST_F(ShortcutStep, LongestNewPathIsWritten) {
  ProgramsShortcuts programs;
  const std::string program = Program("应用\\磁贴最长.exe");
  programs.Make("磁贴最长", program, "old");
  const std::string tileName(MAX_PATH - 1 - programs.Folder().size() - 4, 'm');
  const std::string newPath = programs.Own(tileName);
  LoadAndName(program, tileName);
  EXPECT_TRUE(UpdateStartMenuShortcut());
  EXPECT_TRUE(shown.empty());
  ExpectWrittenFor(newPath, program);
}

TEST_F(ShortcutStep, NewTileIsPinnedAndItsShortcutRenamed) {
  struct Row {
    const char* program;
    const char* tileName;
  } rows[] = {
      {"程序 目录\\磁贴固定甲.exe", "磁贴固定新名"},
      {"程序 目录\\磁贴固定乙.exe", "磁贴固定乙"},
  };
  IsElevated = false;  // Wine runs everything elevated; pinning is for the others
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program);
    ProgramsShortcuts programs;
    const std::string program = Program(row.program);
    const std::string pinned = programs.Own(FileNameOf(program).substr(0, FileNameOf(program).size() - 4));
    const std::string newPath = programs.Own(row.tileName);
    LoadAndName(program, row.tileName);
    ASSERT_EQ(LoadedTile.ShortcutPath, "");
    EXPECT_TRUE(UpdateStartMenuShortcut());
    EXPECT_TRUE(shown.empty());
    LinkProperties link;
    ASSERT_TRUE(ReadLink(newPath, &link));
    EXPECT_EQ(link.target, program);
    EXPECT_EQ(FileExists(pinned), pinned == newPath);
  }
  IsElevated = true;
}

TEST(ShortcutRename, WaitsWhileTheShortcutIsHeldOpen) {
  TempFolder temp;
  const std::string oldPath = temp / "固定.lnk", newPath = temp / "改名.lnk";
  ASSERT_TRUE(WriteFileBytes(oldPath, "lnk"));
  // Whoever made the shortcut holds it for a moment, as the shell may after pinning.
  HANDLE held = CreateFileA(oldPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_FALSE(MoveFileA(oldPath.c_str(), newPath.c_str())) << "a held file cannot be moved here";
  std::thread release([held] {
    Sleep(400);
    CloseHandle(held);
  });
  WaitAndRenameShortcut(oldPath, newPath);
  release.join();
  EXPECT_FALSE(FileExists(oldPath));
  EXPECT_EQ(ReadFileOrEmpty(newPath), "lnk");
}

}  // namespace
