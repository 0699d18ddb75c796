// The program's Start-menu shortcut: renewed when it exists, else made by pinning the
// program through syspin.dll. Windows re-reads a program's tile manifest when its
// shortcut is written anew, so the shortcut step runs before the manifest is written.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/gbk.h"
#include "common/message_box.h"
#include "common/process.h"
#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/tile/paths.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"

namespace {

const char* const kWriteFailed = "创建快捷方式失败！请检查！";

// The folder of a target path with a trailing backslash, built from its parts: split at
// every backslash (a trail byte 0x5C is none), drop an empty last part, keep every part
// but the last. "" when there are fewer than two parts.
// "C:\Apps\Foo\foo.exe" gives "C:\Apps\Foo\", "\\srv\share\a.exe" gives "\\srv\share\".
std::string WorkingFolderOf(const std::string& target) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < target.size(); ++i) {
    if (gbk::IsLeadByte(static_cast<unsigned char>(target[i])) && i + 1 < target.size()) {
      parts.back() += target.substr(i++, 2);
    } else if (target[i] == '\\') {
      parts.emplace_back();
    } else {
      parts.back() += target[i];
    }
  }
  if (parts.back().empty()) parts.pop_back();
  if (parts.size() < 2) return std::string();
  std::string folder;
  for (size_t i = 0; i + 1 < parts.size(); ++i) folder += parts[i] + "\\";
  return folder;
}

// Volume and file index of an existing file; false when it cannot be opened.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
  UniqueFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.valid() && GetFileInformationByHandle(file.get(), info);
}

// Whether two paths name the same file: file names ignore case, and a dropped shortcut
// may reach a Programs-folder file by another spelling.
bool SameFile(const std::string& a, const std::string& b) {
  if (gbk::AsciiLower(a) == gbk::AsciiLower(b)) return true;
  BY_HANDLE_FILE_INFORMATION x, y;
  return FileIdentity(a, &x) && FileIdentity(b, &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

// Writes `lnk` and tells whether it is there 100 ms later.
bool WriteAndCheck(const std::string& lnk, const std::string& program, const std::string& icon) {
  if (!WriteShortcut(lnk, program, icon)) return false;
  Sleep(100);
  return FileExists(lnk);
}

// Renews the program's shortcut: the new one is written before the old one goes, so a
// failed write leaves the program its shortcut and its tile. When both paths name one
// file the new shortcut is written beside it under a temporary name and then moved over
// it; otherwise it is written at its own path and the old one is deleted afterwards.
bool ReplaceShortcut(const std::string& oldPath, const std::string& newPath, const std::string& program,
                     const std::string& icon) {
  if (!SameFile(oldPath, newPath)) {
    if (!WriteAndCheck(newPath, program, icon)) return false;
    DeleteFileA(oldPath.c_str());
    return true;
  }
  char temp[MAX_PATH] = {};
  if (!GetTempFileNameA(FolderOfPath(newPath).c_str(), "tsr", 0, temp)) return false;
  if (WriteAndCheck(temp, program, icon) && MoveFileExA(temp, newPath.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileA(temp);
  return false;
}

}  // namespace

std::string PinCommandLine(const std::string& runFolder, const std::string& programPath) {
  // cmd /c strips the outer pair of quotes and runs the rest as it stands.
  return "cmd /c \"\"" + runFolder + "\\syspin.dll\" \"" + programPath + "\" 51201\"";
}

bool UpdateStartMenuShortcut() {
  const std::string program = GetText("编辑框_程序路径");
  const std::string tileName = GetText("编辑框_文件名称");
  const std::string icon = GetText("编辑框_图标位置");
  if (LoadedTile.ShortcutName.empty()) LoadedTile.ShortcutName = BaseNameWithoutExtension(program);
  const std::string folder = ProgramsFolder();
  const std::string oldPath =
      LoadedTile.ShortcutPath.empty() ? folder + LoadedTile.ShortcutName + ".lnk" : LoadedTile.ShortcutPath;
  const std::string newPath = folder + tileName + ".lnk";

  // A path the ANSI functions cannot take would be cut or refused half-way (the
  // shortcut written but never found again): refuse it before anything changes.
  for (const std::string* path : {&program, &newPath}) {
    if (FitsMaxPath(*path)) continue;
    ShowMessage(ToDisplayText(kWriteFailed + *path), ErrorCaption, MB_OK);
    return false;
  }

  if (FileExists(oldPath)) {
    if (ReplaceShortcut(oldPath, newPath, program, icon)) return true;
    ShowMessage(ToDisplayText(kWriteFailed + oldPath), ErrorCaption, MB_OK);
    return false;
  }

  // A new tile. Windows does not let an elevated process pin; the shortcut is then
  // waited for in vain and the manifest written all the same.
  if (!IsElevated && !PinToStart(program)) {
    ShowMessage(ToDisplayText("添加至开始菜单磁贴失败！请检查 syspin.dll 文件是否存在或手动固定程序到开始菜单！"),
                ErrorCaption, MB_OK);
    SetEnabled("按钮_添加磁贴", true);
    return false;
  }
  WaitAndRenameShortcut(oldPath, newPath);
  return true;
}

bool WriteShortcut(const std::string& lnkPath, const std::string& targetPath, const std::string& iconLocation) {
  const std::string workingFolder = WorkingFolderOf(targetPath);
  if (workingFolder.empty()) return false;
  // Readers of a shortcut take its paths into MAX_PATH buffers, and the ANSI functions
  // cannot open longer ones: refuse rather than write a shortcut that is read back cut.
  for (const std::string* path : {&lnkPath, &targetPath, &workingFolder, &iconLocation})
    if (!FitsMaxPath(*path)) return false;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.outVoid())))
    return false;
  if (FAILED(link->SetPath(targetPath.c_str()))) return false;
  link->SetWorkingDirectory(workingFolder.c_str());
  // An empty location makes the shell show the target's own icon.
  link->SetIconLocation(iconLocation.c_str(), 0);
  link->SetShowCmd(SW_SHOWNORMAL);
  link->SetDescription("");
  link->SetArguments("");
  link->SetHotkey(0);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid()))) return false;
  return SUCCEEDED(file->Save(ToWide(lnkPath).c_str(), TRUE));
}

bool PinToStart(const std::string& programPath) {
  CheckPinTool();
  // The tool runs on; its end and exit code do not matter.
  return StartAndLeaveRunning(PinCommandLine(RunFolder(), programPath), SW_HIDE);
}

void CheckPinTool() {
  if (FileExists(RunFolder() + "\\syspin.dll")) return;
  ShowMessage(ToDisplayText("文件不完整，[syspin.dll]文件丢失！请检查或重新下载！"), ErrorCaption, MB_OK);
  EndProgram();
}

void WaitAndRenameShortcut(const std::string& oldPath, const std::string& newPath) {
  // The pinning makes the shortcut under the program's base name, some time after the
  // tool started: look for it after 50, 100, ..., 1000 ms (10.5 s in all).
  DWORD delay = 0;
  for (int round = 0; round < 20; ++round) {
    delay += 50;
    Sleep(delay);
    if (!FileExists(oldPath)) continue;
    // Whoever made the shortcut may still hold it open, and the move fails until it
    // lets go: try again in the next round. A taken new name will not come free.
    if (SameFile(oldPath, newPath) || MoveFileA(oldPath.c_str(), newPath.c_str()) || FileExists(newPath)) return;
  }
}
