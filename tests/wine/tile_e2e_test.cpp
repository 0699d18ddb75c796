// Tesserin.exe started with a program path, as a user or the context-menu verb would,
// driven from outside through its window; the results read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win_text.h"
#include "tesserin/ui/layout.h"
#include "tests/wine/programs_folder.h"
#include "tests/wine/support.h"

namespace {

const char* const kClass = "750dbc01-9f75-474d-9d69-968482104c0c";

// A 1x1 PNG.
const char kPng[] =
    "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89\0\0\0\rIDATx\x9C"
    "c\xF8\xCF\xC0\xF0\x1F\0\x05\0\x01\xFF\x89\x99=\x1D\0\0\0\0IEND\xAE" "B`\x82";

bool HasTesserinTitle(const std::string& title) { return title.rfind("Tesserin v", 0) == 0; }

// A copy of Tesserin in a folder of its own, with syspin.dll beside it, the update check
// turned off, and a recorder named Explorer.exe (CreateProcess looks in the starting
// program's folder first). Closed at the end, so no copy keeps running.
struct Installed {
  Installed() {
    const char* files[][2] = {{"Tesserin.exe", "Tesserin.exe"},
                              {"syspin.dll", "syspin.dll"},
                              {"command_line_recorder.exe", "Explorer.exe"}};
    for (auto& f : files) CopyFileA((BinFolder() + "\\" + f[0]).c_str(), (folder / f[1]).c_str(), FALSE);
    WritePrivateProfileStringA("其他设置", "禁止检查更新", "真", (folder / "config.ini").c_str());
  }
  ~Installed() {
    if (window && IsWindow(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    child.WaitExit(10000);
  }
  bool Run(const std::string& program) {
    if (!Start("\"" + (folder / "Tesserin.exe") + "\" \"" + program + "\"", &child, folder.path)) return false;
    // Long: the first window in a fresh prefix waits for Wine's font cache.
    window = WaitForWindow(child.pid, kClass, 60000, HasTesserinTitle);
    return window != nullptr;
  }
  // A control by its place in the layout table.
  HWND Control(const std::string& name) const {
    const ControlSpec* row = FindControlSpec(name);
    if (!row) return nullptr;
    HWND parent = *row->parent ? Control(row->parent) : window;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      if (r.left == row->x && r.top == row->y && r.right - r.left == row->w && r.bottom - r.top == row->h) return c;
    }
    return nullptr;
  }
  std::string Text(const std::string& name) const {
    char text[1024] = {};
    DWORD_PTR ignored;
    SendMessageTimeoutA(Control(name), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &ignored);
    return text;
  }
  void Type(const std::string& name, const std::string& text) const {
    DWORD_PTR ignored;
    SendMessageTimeoutA(Control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000,
                        &ignored);
  }
  // Presses a button as a click would, without waiting for its handler.
  void Press(const std::string& name) const { PostMessageA(Control(name), BM_CLICK, 0, 0); }
  // Waits until `done` holds; fails early, with its text, when a message box shows.
  bool WaitFor(bool (*done)(const Installed&), DWORD ms) const {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(100)) {
      if (done(*this)) return true;
      if (HWND box = WaitForMessageBox(child.pid, 0)) {
        ADD_FAILURE() << "message: " << MessageBoxText(box);
        PressButton(box, IDOK);
        return false;
      }
    }
    return done(*this);
  }

  TempFolder folder;
  Child child;
  HWND window = nullptr;
};

std::string Utf8ToGbk(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                              static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(n > 0 ? n : 0));
  return FromWide(wide, 936);
}

TEST(TileE2E, AddUpdateRenewsShortcutAndWritesManifestAndPictures) {
  TempFolder apps;
  CreateDirectoryA((apps / "磁贴 端到端").c_str(), nullptr);
  const std::string program = apps / "磁贴 端到端\\端到端.exe";
  const std::string icon = apps / "图标.exe";
  ASSERT_TRUE(CopyFileA((BinFolder() + "\\command_line_recorder.exe").c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(program.c_str(), icon.c_str(), FALSE));
  ASSERT_TRUE(WriteFileBytes(apps / "大图.png", std::string(kPng, sizeof kPng - 1)));
  ProgramsShortcuts programs;
  const std::string oldLnk = programs.Make("端到端磁贴甲", program, "old");
  const std::string newLnk = programs.Own("端到端磁贴乙");

  Installed tesserin;
  ASSERT_TRUE(tesserin.Run(program));
  EXPECT_EQ(tesserin.Text("编辑框_程序路径"), program);
  EXPECT_EQ(tesserin.Text("编辑框_文件名称"), "端到端磁贴甲");
  tesserin.Type("编辑框_文件名称", "端到端磁贴乙");
  tesserin.Type("编辑框_大图背景", apps / "大图.png");
  tesserin.Type("编辑框_图标位置", icon);
  tesserin.Press("按钮_添加磁贴");

  static std::string manifest, nameAfter;
  manifest = apps / "磁贴 端到端\\端到端.VisualElementsManifest.xml";
  nameAfter = "端到端磁贴乙";
  ASSERT_TRUE(tesserin.WaitFor(
      [](const Installed& t) {
        // The reload from the new shortcut comes last and enables the button again.
        return FileExists(manifest) && t.Text("编辑框_文件名称") == nameAfter && IsWindowEnabled(t.Control("按钮_添加磁贴"));
      },
      20000));

  EXPECT_FALSE(FileExists(oldLnk));
  LinkProperties link;
  ASSERT_TRUE(ReadLink(newLnk, &link));
  EXPECT_EQ(link.target, program);
  EXPECT_EQ(link.workingFolder, apps / "磁贴 端到端\\");
  EXPECT_EQ(link.iconLocation, icon);
  EXPECT_EQ(link.description, "");

  const std::string bytes = ReadFileOrEmpty(manifest);
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Utf8ToGbk(bytes.substr(3)),
            "<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><VisualElements "
            "ShowNameOnSquare150x150Logo=\"on\" ForegroundText=\"light\" BackgroundColor=\"#0078D7\" "
            "Square150x150Logo=\"端到端150x150Logo.png\" Square70x70Logo=\"端到端70x70Logo.png\" Lnk32x32Logo=\"" +
                icon + "\" /></Application>");
  EXPECT_EQ(ReadFileOrEmpty(apps / "磁贴 端到端\\端到端150x150Logo.png"), std::string(kPng, sizeof kPng - 1));
  EXPECT_EQ(ReadFileOrEmpty(apps / "磁贴 端到端\\端到端70x70Logo.png"), std::string(kPng, sizeof kPng - 1));
}

TEST(TileE2E, OpenFolderStartsExplorerSelectingTheProgram) {
  TempFolder apps;
  CreateDirectoryA((apps / "应用 目录").c_str(), nullptr);
  const std::string program = apps / "应用 目录\\打开.exe";
  ASSERT_TRUE(WriteFileBytes(program, "MZ"));
  Installed tesserin;
  ASSERT_TRUE(tesserin.Run(program));
  static std::string recorded;
  recorded = tesserin.folder / "Explorer.exe.txt";
  tesserin.Press("按钮_程序路径_打开目录");
  ASSERT_TRUE(tesserin.WaitFor([](const Installed&) { return FileExists(recorded); }, 20000));
  EXPECT_EQ(ReadFileOrEmpty(recorded), "Explorer /select," + program);
}

}  // namespace
