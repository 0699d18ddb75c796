// The real main window under Wine: start-up state, captions, buttons, tooltips, settings.
#include <windows.h>
#include <commctrl.h>

#include "common/profile.h"
#include "common/win_text.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/layout.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tests/wine/window_fixture.h"

namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithEveryControlInPlace) {
  for (const ControlSpec& row : MainWindowLayout()) {
    if (row.kind == ControlKind::DropArea) continue;
    HWND h = Control(row.name);
    ASSERT_NE(h, nullptr) << row.name;
    HWND parent = row.parent[0] ? Control(row.parent) : MainWindow();
    EXPECT_EQ(GetParent(h), parent) << row.name;
    RECT rc;
    GetWindowRect(h, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, row.x) << row.name;
    EXPECT_EQ(rc.top, row.y) << row.name;
    EXPECT_EQ(rc.right - rc.left, row.w) << row.name;
    EXPECT_EQ(rc.bottom - rc.top, row.h) << row.name;
  }
  RECT outer;
  GetWindowRect(MainWindow(), &outer);
  EXPECT_EQ(outer.right - outer.left, kMainWindowWidth);
  EXPECT_EQ(outer.bottom - outer.top, kMainWindowHeight);
  LONG style = GetWindowLongA(MainWindow(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(MainWindowTest, InitialStates) {
  for (const char* name : {"按钮_程序路径_打开目录", "按钮_程序路径_初始化", "按钮_大图背景_清除", "按钮_小图背景_清除",
                           "按钮_图标位置_清除"})
    EXPECT_FALSE(IsEnabled(name)) << name;
  EXPECT_TRUE(IsEnabled("按钮_添加磁贴"));
  for (const char* name : {"编辑框_程序路径", "编辑框_大图背景", "编辑框_小图背景", "编辑框_图标位置"})
    EXPECT_TRUE(GetWindowLongA(Control(name), GWL_STYLE) & ES_READONLY) << name;
  EXPECT_FALSE(GetWindowLongA(Control("编辑框_文件名称"), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsChecked("单选框_文字颜色_白色"));
  EXPECT_FALSE(IsChecked("单选框_文字颜色_黑色"));
  EXPECT_FALSE(IsChecked("选择框_添加开始菜单"));
  // The swatch and previews are tile blue before any colour is set.
  for (const char* name : {"图片框_颜色选择", "图片框_效果背景", "图片框_效果背景_小", "图片框_效果图标", "图片框_效果图标_小"})
    EXPECT_EQ(GetBackColour(name), RGB(0x00, 0x78, 0xD7)) << name;
  EXPECT_FALSE(GetPicture("图片框_颜色捕获").empty()) << "the capture box shows its idle magnifier";
}

TEST_F(MainWindowTest, TitleAndCaptionsAfterStartUp) {
  // The test program has no version resource: the title keeps its trailing space.
  EXPECT_EQ(GetTitle(), "Tesserin ");
  EXPECT_EQ(ErrorCaption, "错误：");
  EXPECT_EQ(InfoCaption, "信息：");
  EXPECT_EQ(GetText("标签1"), "程序路径：");
  EXPECT_EQ(GetText("按钮_添加磁贴"), "添加/更新磁贴");
  EXPECT_EQ(ConfigPath, RunFolder() + "\\config.ini");
}

TEST_F(MainWindowTest, ProgramPathButtonsFollowTheField) {
  SetText("编辑框_程序路径", "C:\\nowhere\\missing.exe");  // existence is not checked
  EXPECT_TRUE(IsEnabled("按钮_程序路径_打开目录"));
  EXPECT_TRUE(IsEnabled("按钮_程序路径_初始化"));
  SetText("编辑框_程序路径", "");
  EXPECT_FALSE(IsEnabled("按钮_程序路径_打开目录"));
  EXPECT_FALSE(IsEnabled("按钮_程序路径_初始化"));
}

std::string TipText(HWND label) {
  wchar_t text[4096] = {};
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.hwnd = MainWindow();
  tool.uId = reinterpret_cast<UINT_PTR>(label);
  tool.lpszText = text;
  SendMessageW(HelpTooltip(), TTM_GETTEXTW, 4096, reinterpret_cast<LPARAM>(&tool));
  return FromWide(text, 936);
}

TEST_F(MainWindowTest, HelpTipAttachedOnFirstMouseMove) {
  EXPECT_EQ(HelpTooltip(), nullptr);
  HWND label = Control("标签_禁止检查更新");
  SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  ASSERT_NE(HelpTooltip(), nullptr);
  EXPECT_EQ(TipText(label), "当勾选后，软件启动时将不再自动检查更新（不影响手动检查更新）。");
  LONG style = GetWindowLongA(HelpTooltip(), GWL_STYLE);
  EXPECT_TRUE(style & TTS_ALWAYSTIP);
  EXPECT_TRUE(style & TTS_NOPREFIX);
  EXPECT_FALSE(style & TTS_BALLOON);
  EXPECT_GE(SendMessageA(HelpTooltip(), TTM_GETMAXTIPWIDTH, 0, 0), 10000);

  // Nine lines, four of them empty; every label has its own text.
  HWND colour = Control("标签_背景颜色说明");
  SendMessageA(colour, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  std::string tip = TipText(colour);
  size_t lines = 1;
  for (size_t at = 0; (at = tip.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 9u);
  EXPECT_EQ(SendMessageA(HelpTooltip(), TTM_GETTOOLCOUNT, 0, 0), 2);
  SendMessageA(colour, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));  // later moves add nothing
  EXPECT_EQ(SendMessageA(HelpTooltip(), TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(MainWindowTest, FirstRunSettingsAndSaveOnClose) {
  EXPECT_EQ(GetText("编辑框_背景颜色"), "#0078D7");
  EXPECT_EQ(DefaultBackColour, "#0078D7");
  EXPECT_TRUE(IsChecked("选择框_智能识别文字颜色"));
  EXPECT_FALSE(IsChecked("选择框_禁止检查更新"));
  EXPECT_FALSE(FileExists(ConfigPath)) << "nothing is written at start-up";

  std::string config = ConfigPath;
  DestroyWindow(MainWindow());
  PumpPending();
  EXPECT_EQ(ReadProfileText(config, "其他设置", "文字颜色智能识别"), "真");
  EXPECT_EQ(ReadProfileText(config, "其他设置", "禁止检查更新"), "假");
  EXPECT_EQ(ReadProfileText(config, "磁贴设置", "默认背景颜色", "absent"), "absent");
  DeleteFileA(config.c_str());
}

TEST_F(MainWindowTest, OptionClicksAndDefaultColourAreSaved) {
  SendMessageA(Control("选择框_禁止检查更新"), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadProfileText(ConfigPath, "其他设置", "禁止检查更新"), "真");
  SendMessageA(Control("选择框_智能识别文字颜色"), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadProfileText(ConfigPath, "其他设置", "文字颜色智能识别"), "假");
  SetText("编辑框_背景颜色", "#FF0000");
  SendMessageA(Control("按钮_背景颜色_设为默认"), BM_CLICK, 0, 0);
  EXPECT_EQ(DefaultBackColour, "#FF0000");
  EXPECT_EQ(ReadProfileText(ConfigPath, "磁贴设置", "默认背景颜色"), "#FF0000");
  DeleteFileA(ConfigPath.c_str());
}

// Under a Taiwanese system locale every caption is Big5, traditional.
using MainWindow_zhTW = WindowTest;
TEST_F(MainWindow_zhTW, CaptionsAndSettingsAreBig5) {
  EXPECT_EQ(GetText("标签1"), "\xb5\x7b\xa7\xc7\xb8\xf4\xae\x7c\xa1\x47");      // 程序路徑：
  EXPECT_EQ(ErrorCaption, "\xbf\xf9\xbb\x7e\xa1\x47");                          // 錯誤：
  EXPECT_EQ(GetText("分组框_磁贴配置"), "\xba\xcf\xb6\x4b\xb0\x74\xb8\x6d\xa1\x47");  // 磁貼配置：
  EXPECT_EQ(GetTitle(), "Tesserin ");
  std::string config = ConfigPath;
  DestroyWindow(MainWindow());
  PumpPending();
  // Section and key names are written converted, so the GBK names find nothing.
  EXPECT_EQ(ReadProfileText(config, ToDisplayText("其他设置"), ToDisplayText("文字颜色智能识别")), ToDisplayText("真"));
  EXPECT_EQ(ReadProfileText(config, "其他设置", "文字颜色智能识别", "absent"), "absent");
  DeleteFileA(config.c_str());
}

using MainWindow_jaJP = WindowTest;
TEST_F(MainWindow_jaJP, CaptionsAreShiftJis) {
  // 磁贴不显示文字: 贴 and 显 have no JIS X 0208 form.
  EXPECT_EQ(GetText("选择框_不显示文字"), "\x8e\xa5??\x95\x73??\x8e\xa6\x95\xb6\x8e\x9a");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TextColourRadiosAreExclusiveAndColourThePreviewName) {
  SendMessageA(Control("单选框_文字颜色_黑色"), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsChecked("单选框_文字颜色_黑色"));
  EXPECT_FALSE(IsChecked("单选框_文字颜色_白色"));
  EXPECT_EQ(GetTextColour("透明标签_效果文字"), RGB(0, 0, 0));
  SendMessageA(Control("单选框_文字颜色_白色"), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsChecked("单选框_文字颜色_白色"));
  EXPECT_FALSE(IsChecked("单选框_文字颜色_黑色"));
  EXPECT_EQ(GetTextColour("透明标签_效果文字"), RGB(255, 255, 255));
}

}  // namespace
