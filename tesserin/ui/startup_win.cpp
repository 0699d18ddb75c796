#include "tesserin/ui/startup_win.h"

#include <windows.h>
#include <ole2.h>
#include <winternl.h>

#include <cstdio>

#include "common/gbk.h"
#include "common/message_box.h"
#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/settings/settings.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/colour.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/drop.h"
#include "tesserin/ui/layout.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tesserin/update/update.h"

namespace {

// Shows the single-instance refusal and ends the program.
[[noreturn]] void Refuse() {
  ShowMessage(ToDisplayText(RefusalText(FileNameOf(OwnModulePath()))), ErrorCaption, MB_ICONERROR);
  EndProgram();
}

// True when this is the first copy. The handle stays open until the process ends, so
// the mutex outlives the first copy while a copy that took over still runs.
bool CheckSingleInstance() {
  if (OpenMutexA(MUTEX_ALL_ACCESS, TRUE, kSingleInstanceMutex)) return false;
  SECURITY_ATTRIBUTES sa = {};
  HANDLE created = CreateMutexA(&sa, TRUE, kSingleInstanceMutex);
  return created != nullptr;  // a failed creation counts as another copy
}

void ConvertAllCaptions() {
  SetTitle(ToDisplayText(GetTitle()));
  for (const ControlSpec& row : MainWindowLayout()) {
    if (row.kind == ControlKind::Edit || row.kind == ControlKind::PictureBox || row.kind == ControlKind::DropArea)
      continue;
    SetText(row.name, ToDisplayText(GetText(row.name)));
  }
}

}  // namespace

void ProcessVersionNumbers(unsigned* major, unsigned* minor, unsigned* platformId) {
  // The PEB's OSMajorVersion/OSMinorVersion/OSPlatformId; winternl.h keeps them opaque.
  const unsigned char* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#ifdef _WIN64
  const size_t kMajor = 0x118, kMinor = 0x11C, kPlatform = 0x124;
#else
  const size_t kMajor = 0xA4, kMinor = 0xA8, kPlatform = 0xB0;
#endif
  *major = *reinterpret_cast<const ULONG*>(peb + kMajor);
  *minor = *reinterpret_cast<const ULONG*>(peb + kMinor);
  *platformId = *reinterpret_cast<const ULONG*>(peb + kPlatform);
}

std::string FileVersionOf(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::string();
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(path.c_str(), 0, size, &block[0])) return std::string();
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT length = 0;
  std::vector<std::string> keys;
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length)) {
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
      char key[64];
      snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
               translations[i].codePage);
      keys.push_back(key);
    }
  }
  keys.push_back("\\StringFileInfo\\080404b0\\FileVersion");
  keys.push_back("\\StringFileInfo\\040904b0\\FileVersion");
  for (const std::string& key : keys) {
    char* value = nullptr;
    UINT chars = 0;
    if (VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) && value && chars > 0)
      return std::string(value);
  }
  return std::string();
}

bool AdministratorTest() {
  UniqueModule advpack(LoadLibraryA("advpack.dll"));
  if (!advpack) return false;
  using IsNTAdminFn = BOOL(WINAPI*)(DWORD, DWORD*);
  auto isNtAdmin = reinterpret_cast<IsNTAdminFn>(reinterpret_cast<void*>(GetProcAddress(advpack.get(), "IsNTAdmin")));
  if (!isNtAdmin) return false;
  DWORD zero = 0;
  return isNtAdmin(0, &zero) == 1;
}

bool TakeOverRunningInstance() {
  std::string wanted = ToDisplayText(kProductTitle);
  HWND found = nullptr;
  for (HWND w = FindWindowExA(nullptr, nullptr, kMainWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, kMainWindowClass, nullptr)) {
    int n = GetWindowTextLengthA(w);
    std::string title(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(w, &title[0], n + 1);
    title.resize(static_cast<size_t>(n > 0 ? n : 0));
    if (TitleContains(title, wanted)) {
      found = w;
      break;
    }
  }
  if (!found) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(found, &pid);
  if (pid == 0) return false;
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
  if (!process) return false;
  return TerminateProcess(process.get(), 0) != FALSE;
}

void OnWindowCreated() {
  SetLanguageMode();
  InfoCaption = ToDisplayText("信息：");
  ErrorCaption = ToDisplayText("错误：");
  CheckPinTool();
  const std::string firstArgument = ProgramArguments.empty() ? std::string() : ProgramArguments[0];
  if (!CheckSingleInstance()) {
    if (firstArgument.empty() || !TakeOverRunningInstance()) Refuse();
  }
  ConvertAllCaptions();
  std::string version = FileVersionOf(RunFolder() + "\\" + FileNameOf(OwnModulePath()));
  if (!version.empty()) VersionText = VersionTextFrom(version);
  SetTitle(ToDisplayText(std::string(kProductTitle) + " " + VersionText));
  unsigned major = 0, minor = 0, platform = 0;
  ProcessVersionNumbers(&major, &minor, &platform);
  if (WindowsVersionCode(major, minor, platform) < 10) {
    ShowMessage(ToDisplayText("本软件仅支持 Windows8、Windows8.1、Windows10 系统(其它版本系统也没有磁贴呀)！"), ErrorCaption,
                MB_ICONERROR);
    EndProgram();
  }
  ShowCaptureGlyph(false);
  ConfigPath = RunFolder() + "\\config.ini";
  LoadSettings();
  IsElevated = AdministratorTest();
  SetUpDrops();
  SetChecked("选择框_添加开始菜单", IsVerbRegistered());
  if (!firstArgument.empty()) LoadTarget(firstArgument);
  if (!IsChecked("选择框_禁止检查更新")) StartUpdateCheck(1);
}

void OnMainWindowLostFocus() { EndColourCapture(); }

void OnMainWindowDestroyed() { SaveCheckBoxSettings(); }

void RunExitCleanup() {
  static bool done = false;
  if (done) return;
  done = true;
  InfoCaption.clear();
  ErrorCaption.clear();
  VersionText.clear();
  ConfigPath.clear();
  DefaultBackColour.clear();
  ReleaseDropBindings();
}

void EndProgram() {
  RunExitCleanup();
  ExitProcess(0);
}

int RunTesserin(HINSTANCE instance) {
  OleInitialize(nullptr);
  SetCurrentDirectoryA(RunFolder().c_str());
  ProgramArguments = gbk::ArgumentsAfterProgramName(GetCommandLineA());
  if (!CreateMainWindow(instance, true)) EndProgram();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  RunExitCleanup();
  OleUninitialize();
  return 0;
}
