// Choosing the program to edit: a dropped or given .exe or .lnk, and the Start-menu
// shortcut that already points at it (the tile belongs to that shortcut).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/gbk.h"
#include "common/message_box.h"
#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/tile/paths.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/control_names.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/preview.h"
#include "tesserin/ui/startup.h"

namespace {


// Keeps the user out of the main window while the shortcut search pumps messages. Without
// it a second drop or a click on 添加/更新磁贴 or 初始化 would run inside the first load,
// between its clearing of LoadedTile and its filling of the window. A disabled window
// gets no mouse or keyboard input and is no drop target (the shell finds targets with
// WindowFromPoint, which passes over disabled windows), but it still paints.
class InputPause {
 public:
  InputPause() : window_(MainWindow()) {
    if (window_) wasDisabled_ = EnableWindow(window_, FALSE) != FALSE;
  }
  ~InputPause() {
    if (!window_ || wasDisabled_ || !IsWindow(window_)) return;
    EnableWindow(window_, TRUE);
    // Disabling took the keyboard focus away; give it back to the window itself.
    if (GetActiveWindow() == window_ && !GetFocus()) SetFocus(window_);
  }
  InputPause(const InputPause&) = delete;
  InputPause& operator=(const InputPause&) = delete;

 private:
  HWND window_;
  bool wasDisabled_ = false;
};

// Looks for the first top-level shortcut of the Programs folder whose target is exactly
// `target` (byte for byte, so a target that differs only in case does not match). On a
// match fills LoadedTile's shortcut fields and `name` (the file name without ".lnk").
bool FindProgramsShortcut(const std::string& target, std::string* name) {
  const std::string folder = ProgramsFolder();
  std::vector<std::string> names;
  {
    InputPause pause;
    names = ListFiles(folder, "*.lnk");
  }
  for (const std::string& file : names) {
    if (file.size() < 4 || ReadShortcutTarget(folder + file) != target) continue;
    *name = file.substr(0, file.size() - 4);
    LoadedTile.ShortcutName = *name;
    LoadedTile.ShortcutPath = folder + file;
    return true;
  }
  return false;
}

void RefreshIconOnTileColour() { RefreshPreviewIcon(GetBackColour(kLargePreview)); }

// A dropped .lnk: its target is the program. False when the target does not exist.
bool LoadShortcut(const std::string& path) {
  std::string target = ReadShortcutTarget(path);
  if (!FileExists(target)) {
    // This 32-bit program sees the targets of 64-bit programs' shortcuts under
    // "Program Files (x86)"; the program itself lies under "Program Files".
    size_t x86 = target.find(" (x86)");
    if (x86 != std::string::npos) target.erase(x86, 6);
    if (!FileExists(target)) {
      ShowMessage(ToDisplayText("该快捷方式目标应用程序文件不存在，请检查！\r\n" + target), ErrorCaption,
                  MB_OK | MB_ICONERROR);
      return false;
    }
  }
  std::string tileName;
  if (!FindProgramsShortcut(target, &tileName)) tileName = BaseNameWithoutExtension(path);
  if (tileName.empty()) return true;
  // Without a shortcut in the Programs folder the dropped one counts as the program's
  // shortcut; the shortcut step replaces it by one in the Programs folder.
  if (LoadedTile.ShortcutName.empty()) LoadedTile.ShortcutName = tileName;
  if (LoadedTile.ShortcutPath.empty()) LoadedTile.ShortcutPath = path;
  SetText(kNameBox, tileName);
  SetText(kProgramBox, target);
  LoadPreviewIcon(target);  // the manifest's icon, if any, replaces it
  ReadTileManifest();
  RefreshIconOnTileColour();
  return true;
}

void LoadProgram(const std::string& path) {
  std::string tileName;
  if (!FindProgramsShortcut(path, &tileName)) tileName = BaseNameWithoutExtension(path);
  SetText(kNameBox, tileName);
  SetText(kProgramBox, path);
  ReadTileManifest();
  if (GetText(kIconBox).empty()) LoadPreviewIcon(path);
  RefreshIconOnTileColour();
}

}  // namespace

bool LoadTarget(std::string path, bool followUp, bool skipManifest) {
  LoadedTile.ShortcutName.clear();
  LoadedTile.ShortcutPath.clear();
  if (!path.empty()) {
    path = ToDisplayText(path);
    // Exact, case-sensitive types: "X.LNK" or "Y.EXE" loads nothing.
    const std::string type = gbk::FileTypeText(path);
    if (type == "lnk") {
      if (!LoadShortcut(path)) return false;
    } else if (type == "exe") {
      LoadProgram(path);
    }
  }
  if (followUp && UpdateStartMenuShortcut()) FinishTileUpdate(skipManifest);
  return true;
}

std::string ReadShortcutTarget(const std::string& lnkPath) {
  // A longer path would be cut by the ANSI functions; refuse it rather than read another file.
  std::wstring wide = ToWide(lnkPath);
  if (wide.empty() || wide.size() >= MAX_PATH) return std::string();
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.outVoid())))
    return std::string();
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid()))) return std::string();
  if (FAILED(file->Load(wide.c_str(), STGM_READ))) return std::string();
  char buffer[1024] = {};
  if (FAILED(link->GetPath(buffer, sizeof buffer, nullptr, SLGP_UNCPRIORITY))) return std::string();
  buffer[sizeof buffer - 1] = '\0';
  std::string target = buffer;
  // A full buffer means GetPath cut the target: no such file can be meant.
  if (target.size() >= sizeof buffer - 1) return std::string();
  return target;
}

std::vector<std::string> ListFiles(std::string folder, const std::string& pattern) {
  std::vector<std::string> names;
  if (folder.empty() || gbk::FindLast(folder, '\\') != folder.size() - 1) folder += '\\';
  // The wide functions: FindFirstFileA cannot hand over a name whose GBK form is longer
  // than its 260-byte buffer, although a path of up to 259 characters may end in one.
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW(ToWide(folder + pattern).c_str(), &found));
  if (!find.valid()) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring wide = found.cFileName;
    std::string name = FromWide(wide);
    // A name with characters that GBK lacks would come back with "?" or a look-alike,
    // which could name another file: such names are not listed.
    if (name.empty() || ToWide(name) != wide) continue;
    names.push_back(name);
    PumpMessages();
  } while (FindNextFileW(find.get(), &found));
  return names;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The window was closed during the load: leave the quit request for the main loop,
      // which would otherwise wait for it forever.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
