// Choosing the program: LoadTarget on the real hidden window, with real files in a temp
// folder and real shortcuts in the prefix's Programs folder.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>

#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tests/wine/programs_folder.h"
#include "tests/wine/support.h"
#include "tests/wine/window_fixture.h"

namespace {

const char* const kMissingTarget = "该快捷方式目标应用程序文件不存在，请检查！\r\n";

class TargetLoad : public WindowTest {
 protected:
  std::string Program(const std::string& relative) { return MakeStandInProgram(temp, relative); }
  // The window as a load leaves it.
  struct Seen {
    std::string program, name, shortcutName, shortcutPath;
  };
  static Seen Window() {
    return {GetText("编辑框_程序路径"), GetText("编辑框_文件名称"), LoadedTile.ShortcutName, LoadedTile.ShortcutPath};
  }

  TempFolder temp;
};

// A name of exactly `units` characters when put after `prefix`, ending in `suffix`.
std::string PathOfLength(const std::string& prefix, size_t units, const std::string& suffix) {
  return prefix + std::string(units - prefix.size() - suffix.size(), 'p') + suffix;
}

TEST_F(TargetLoad, ProgramFindsOnlyAnExactTopLevelShortcut) {
  const std::string program = Program("磁贴目标\\记事本.exe");
  std::string upper = program;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  ASSERT_TRUE(FileExists(upper));
  struct Row {
    const char* what;
    const char* linkName;  // in the Programs folder; "" for none
    std::string linkTarget;
    bool found;
  } rows[] = {
      {"exact target", "磁贴目标记事本", program, true},
      {"target differs in case", "磁贴目标大写", upper, false},
      {"shortcut in a subfolder", "磁贴目标子目录\\记事本", program, false},
      {"no shortcut", "", "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ProgramsShortcuts programs;
    std::string link;
    if (*row.linkName) link = programs.Make(row.linkName, row.linkTarget);
    ASSERT_TRUE(link.empty() || ReadShortcutTarget(link) == row.linkTarget) << "shortcut stores the target as given";
    EXPECT_TRUE(LoadTarget(program));
    Seen seen = Window();
    EXPECT_EQ(seen.program, program);
    EXPECT_EQ(seen.name, row.found ? row.linkName : "记事本");
    EXPECT_EQ(seen.shortcutName, row.found ? row.linkName : "");
    EXPECT_EQ(seen.shortcutPath, row.found ? link : "");
    EXPECT_TRUE(shown.empty());
  }
}

TEST_F(TargetLoad, DroppedShortcutLoadsItsTarget) {
  const std::string program = Program("应用\\磁贴拖放.exe");
  const std::string native = Program("Program Files\\App\\app.exe");
  const std::string both = Program("Program Files (x86)\\Both\\both.exe");
  Program("Program Files\\Both\\both.exe");
  struct Row {
    const char* what;
    std::string linkTarget;
    const char* programsLink;  // also a Programs-folder shortcut to the target; "" for none
    std::string expectedProgram;
  } rows[] = {
      {"desktop shortcut only", program, "", program},
      {"Programs shortcut wins", program, "磁贴拖放开始", program},
      {"(x86) target found under Program Files", temp / "Program Files (x86)\\App\\app.exe", "", native},
      {"(x86) target kept when it exists", both, "", both},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ProgramsShortcuts programs;
    const std::string dropped = temp / "桌面快捷.lnk";
    ASSERT_TRUE(MakeLink(dropped, row.linkTarget));
    std::string programsLink = *row.programsLink ? programs.Make(row.programsLink, row.expectedProgram) : "";
    EXPECT_TRUE(LoadTarget(dropped));
    Seen seen = Window();
    EXPECT_EQ(seen.program, row.expectedProgram);
    const std::string name = *row.programsLink ? row.programsLink : "桌面快捷";
    EXPECT_EQ(seen.name, name);
    EXPECT_EQ(seen.shortcutName, name);
    EXPECT_EQ(seen.shortcutPath, *row.programsLink ? programsLink : dropped);
    EXPECT_TRUE(shown.empty());
  }
}

TEST_F(TargetLoad, UnusablePathsLeaveTheWindowAlone) {
  const std::string program = Program("磁贴原样.exe");
  Program("Other\\x.txt");
  WriteFileBytes(temp / "broken.lnk", "not a shortcut");
  MakeLink(temp / "missing.lnk", temp / "gone\\gone.exe");
  MakeLink(temp / "missing86.lnk", temp / "Program Files (x86)\\gone\\gone.exe");
  MakeLink(temp / "UPPER.LNK", program);
  const std::string tooLong = PathOfLength(temp.path + "\\", MAX_PATH, ".lnk");
  ASSERT_TRUE(MakeLink(tooLong, program));
  struct Row {
    std::string path;
    bool result;
    std::string message;  // "" for none
  } rows[] = {
      {temp / "missing.lnk", false, kMissingTarget + (temp / "gone\\gone.exe")},
      {temp / "missing86.lnk", false, kMissingTarget + (temp / "Program Files\\gone\\gone.exe")},
      {temp / "broken.lnk", false, kMissingTarget},
      {tooLong, false, kMissingTarget},  // refused whole, not read cut short
      {temp / "UPPER.LNK", true, ""},
      {temp / "磁贴原样.EXE", true, ""},
      {temp / "Other\\x.txt", true, ""},
      {"", true, ""},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": " + row.path);
    ASSERT_TRUE(LoadTarget(program));
    LoadedTile.ShortcutName = "stale";
    LoadedTile.ShortcutPath = "stale";
    shown.clear();
    EXPECT_EQ(LoadTarget(row.path), row.result);
    Seen seen = Window();
    EXPECT_EQ(seen.program, program);
    EXPECT_EQ(seen.name, "磁贴原样");
    EXPECT_EQ(seen.shortcutName, "");
    EXPECT_EQ(seen.shortcutPath, "");
    if (row.message.empty()) {
      EXPECT_TRUE(shown.empty());
    } else {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].text, row.message);
      EXPECT_EQ(shown[0].caption, ErrorCaption);
      EXPECT_EQ(shown[0].flags, unsigned(MB_OK | MB_ICONERROR | MB_TASKMODAL));
    }
  }
}

TEST_F(TargetLoad, PathsAtTheLengthLimit) {
  ProgramsShortcuts programs;
  const std::string program = Program("磁贴长度.exe");
  // 259 characters is the longest path the ANSI functions take.
  const std::string longest = PathOfLength(temp.path + "\\", MAX_PATH - 1, ".lnk");
  ASSERT_TRUE(MakeLink(longest, program));
  EXPECT_TRUE(LoadTarget(longest));
  EXPECT_EQ(GetText("编辑框_程序路径"), program);
  EXPECT_EQ(LoadedTile.ShortcutPath, longest);

  // A GBK name of more than 260 bytes but fewer than 260 characters is a valid path.
  // Greek letters take two bytes in GBK and in UTF-8, in which the Linux file system
  // under Wine allows 255 bytes for a name.
  std::string name;
  while (name.size() + 2 + 4 <= 255) name += "α";
  ASSERT_TRUE(FitsMaxPath(programs.Folder() + name + ".lnk"));
  ASSERT_GT((programs.Folder() + name + ".lnk").size(), size_t(MAX_PATH));
  const std::string link = programs.Make(name, program);
  ASSERT_TRUE(FileExists(link));
  EXPECT_TRUE(LoadTarget(program));
  EXPECT_EQ(GetText("编辑框_文件名称"), name);
  EXPECT_EQ(LoadedTile.ShortcutPath, link);
  EXPECT_TRUE(shown.empty());
}

// Records whether the main window took input at the moment a posted message arrived.
std::vector<bool> enabledWhenDispatched;
LRESULT CALLBACK RecorderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) enabledWhenDispatched.push_back(IsWindowEnabled(MainWindow()) != FALSE);
  return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(TargetLoad, SearchIgnoresInputAndKeepsAQuitRequest) {
  ProgramsShortcuts programs;
  const std::string program = Program("磁贴输入.exe");
  programs.Make("磁贴输入甲", temp / "other.exe");
  WNDCLASSA wc = {};
  wc.lpfnWndProc = RecorderProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TargetLoadRecorder";
  RegisterClassA(&wc);
  HWND recorder = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(recorder, nullptr);

  // Posted before the load, so only the pumping inside the search can deliver them.
  PostMessageA(recorder, WM_APP, 0, 0);
  PostQuitMessage(7);
  EXPECT_TRUE(LoadTarget(program));
  EXPECT_EQ(enabledWhenDispatched, std::vector<bool>{false}) << "dispatched during the search, window disabled";
  EXPECT_TRUE(IsWindowEnabled(MainWindow()));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request is still queued";
  EXPECT_EQ(msg.wParam, 7u);
  DestroyWindow(recorder);
}

// Not a test: LoadTarget with the program's shortcut last among 1000 in the Programs
// folder, beside a bare loop reading the same 1000 shortcuts. Run by hand with
// --gtest_also_run_disabled_tests --gtest_filter=TargetLoad.DISABLED_*
TEST_F(TargetLoad, DISABLED_BenchmarkSearchAmongThousandShortcuts) {
  ProgramsShortcuts programs;
  const std::string program = Program("磁贴计时.exe");
  const std::string other = Program("other.exe");
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    snprintf(name, sizeof name, "bench-%04d", i);
    programs.Make(name, other);
  }
  // The shortcut the search meets last is the one that must match.
  std::vector<std::string> names = ListFiles(programs.Folder(), "*.lnk");
  ASSERT_FALSE(names.empty());
  ASSERT_TRUE(MakeLink(programs.Folder() + names.back(), program));
  printf("%zu shortcuts in the Programs folder; match: %s\n", names.size(), names.back().c_str());

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  auto ms = [&] { return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart); };
  for (int run = 0; run < 5; ++run) {
    QueryPerformanceCounter(&start);
    LoadTarget(program);
    QueryPerformanceCounter(&end);
    double load = ms();
    EXPECT_EQ(LoadedTile.ShortcutPath, programs.Folder() + names.back());

    QueryPerformanceCounter(&start);
    size_t read = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(ToWide(programs.Folder() + "*.lnk").c_str(), &found);
    do {
      ComPtr<IShellLinkA> link;
      ComPtr<IPersistFile> file;
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.outVoid());
      link->QueryInterface(IID_IPersistFile, file.outVoid());
      std::wstring path = ToWide(programs.Folder()) + found.cFileName;
      char target[1024] = {};
      if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, sizeof target, nullptr, SLGP_UNCPRIORITY)))
        ++read;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    QueryPerformanceCounter(&end);
    printf("run %d: LoadTarget %.1f ms, bare loop %.1f ms (%zu read)\n", run, load, ms(), read);
  }
}

}  // namespace
