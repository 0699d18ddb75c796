// Tesserin.exe started as a user would, observed from outside.
#include <gtest/gtest.h>

#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tests/wine/support.h"

namespace {

const char* const kClass = "750dbc01-9f75-474d-9d69-968482104c0c";

bool HasTesserinTitle(const std::string& title) { return title.rfind("Tesserin v", 0) == 0; }

std::string Exe() { return "\"" + BinFolder() + "\\Tesserin.exe\""; }

// Closes the window when done, so the next test starts with no copy running.
struct Running {
  Child child;
  HWND window = nullptr;
  ~Running() {
    if (window && IsWindow(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    child.WaitExit(10000);
  }
};

// A start-up refusal: its error box, answered with OK, then exit code 0.
void ExpectErrorBoxThenExit(Child& child, const std::string& text) {
  HWND box = WaitForMessageBox(child.pid, 60000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), text);
  EXPECT_EQ(WindowText(box), "错误：");
  PressButton(box, IDOK);
  EXPECT_EQ(child.WaitExit(10000), 0u);
}

TEST(StartupE2E, FirstCopyShowsItsWindowAndSecondIsRefused) {
  Running first;
  ASSERT_TRUE(Start(Exe(), &first.child));
  first.window = WaitForWindow(first.child.pid, kClass, 60000, HasTesserinTitle);
  ASSERT_NE(first.window, nullptr);
  EXPECT_EQ(WindowText(first.window), "Tesserin v1.0");

  for (const char* args : {"", " \"\""}) {  // no path, or an empty one
    Child second;
    SCOPED_TRACE(std::string("args: ") + args);
    ASSERT_TRUE(Start(Exe() + args, &second));
    ExpectErrorBoxThenExit(second, "请勿多开 [Tesserin.exe]！");
    EXPECT_TRUE(IsWindow(first.window)) << "the running copy is left alone";
  }
}

TEST(StartupE2E, SecondCopyWithPathTakesOver) {
  Running first;
  ASSERT_TRUE(Start(Exe(), &first.child));
  first.window = WaitForWindow(first.child.pid, kClass, 60000, HasTesserinTitle);
  ASSERT_NE(first.window, nullptr);

  Running second;
  ASSERT_TRUE(Start(Exe() + " \"C:\\windows\\notepad.exe\"", &second.child));
  EXPECT_EQ(first.child.WaitExit(60000), 0u) << "the first copy is ended";
  second.window = WaitForWindow(second.child.pid, kClass, 60000, HasTesserinTitle);
  EXPECT_NE(second.window, nullptr);

  // The take-over copy holds the mutex too: a third copy without a path is refused.
  Child third;
  ASSERT_TRUE(Start(Exe(), &third));
  ExpectErrorBoxThenExit(third, "请勿多开 [Tesserin.exe]！");
}

TEST(StartupE2E, MissingPinToolEndsTheProgram) {
  TempFolder folder;
  ASSERT_TRUE(CopyFileA((BinFolder() + "\\Tesserin.exe").c_str(), (folder / "Tesserin.exe").c_str(), FALSE));
  Child child;
  ASSERT_TRUE(Start("\"" + (folder / "Tesserin.exe") + "\"", &child));
  ExpectErrorBoxThenExit(child, "文件不完整，[syspin.dll]文件丢失！请检查或重新下载！");
  EXPECT_FALSE(FileExists(folder / "config.ini"));
}

// Wine reports the version set for one program under AppDefaults.
struct AppVersion {
  explicit AppVersion(const char* version) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
    RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
  }
  ~AppVersion() {
    key.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\Tesserin.exe";
  UniqueHKey key;
};

TEST(StartupE2E, RefusesWindows7) {
  AppVersion win7("win7");
  Child child;
  ASSERT_TRUE(Start(Exe(), &child));
  ExpectErrorBoxThenExit(child, "本软件仅支持 Windows8、Windows8.1、Windows10 系统(其它版本系统也没有磁贴呀)！");
}

}  // namespace
