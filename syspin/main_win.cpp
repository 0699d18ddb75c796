// The pinning tool that ships beside Tesserin under the name syspin.dll:
//
//   syspin.dll "C:\Apps\Foo\foo.exe" 51201
//
// makes or renews the Start-menu shortcut <Programs folder>\foo.lnk (target and working
// folder) and then asks the shell to pin the program to Start. 51201 is the number of the
// shell's "Pin to Start" text; any other command does nothing. The tool runs hidden and
// unattended: it never shows a window or a message and always ends with exit code 0.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "common/gbk.h"
#include "common/scoped_win.h"
#include "common/win_text.h"

namespace {

const char* const kPinToStart = "51201";
const UINT kPinToStartText = 51201;  // string resource of shell32
const UINT kFirstMenuId = 1;
const UINT kLastMenuId = 0x7FFF;

// "C:\Apps\Foo\foo.exe" gives "foo"; "" when the file name has no dot, as Tesserin
// expects the shortcut under the same name.
std::string BaseNameWithoutExtension(const std::string& path) {
  std::string name = FileNameOf(path);
  size_t dot = gbk::FindLast(name, '.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string FolderOf(const std::string& path) {
  size_t slash = gbk::FindLast(path, '\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Writes the shortcut under a temporary name and moves it into place, so that whoever
// waits for it (Tesserin renames it as soon as it appears) never finds it half written.
void WriteProgramShortcut(const std::string& lnkPath, const std::string& program) {
  char temp[MAX_PATH] = {};
  if (!GetTempFileNameA(FolderOf(lnkPath).c_str(), "pin", 0, temp)) return;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  bool saved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          link.outVoid())) &&
               SUCCEEDED(link->SetPath(program.c_str())) &&
               SUCCEEDED(link->SetWorkingDirectory(FolderOf(program).c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.outVoid())) &&
               SUCCEEDED(file->Save(ToWide(temp).c_str(), TRUE));
  file.reset();
  link.reset();
  if (!saved || !MoveFileExA(temp, lnkPath.c_str(), MOVEFILE_REPLACE_EXISTING)) DeleteFileA(temp);
}

// A menu text without its access key: "Pin to &Start" and "固定到“开始”屏幕(&P)" compare
// as "Pin to Start" and "固定到“开始”屏幕".
std::string WithoutAccessKey(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (gbk::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      out += text.substr(i++, 2);
    } else if (text.compare(i, 2, "(&") == 0 && i + 3 < text.size() && text[i + 3] == ')') {
      i += 3;
    } else if (text[i] != '&') {
      out += text[i];
    }
  }
  return out;
}

struct MenuOwner {
  HMENU menu = CreatePopupMenu();
  ~MenuOwner() {
    if (menu) DestroyMenu(menu);
  }
};

// Runs the entry of the program's shell context menu whose text is `verb`, if it has one.
void InvokeVerb(const std::string& program, const std::string& verb) {
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(ToWide(program).c_str(), nullptr, &item, 0, nullptr))) return;
  ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  ComPtr<IContextMenu> menu;
  if (SUCCEEDED(SHBindToParent(item, IID_IShellFolder, parent.outVoid(), &child)) &&
      SUCCEEDED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, menu.outVoid()))) {
    MenuOwner popup;
    if (popup.menu && SUCCEEDED(menu->QueryContextMenu(popup.menu, 0, kFirstMenuId, kLastMenuId, CMF_NORMAL))) {
      const std::string wanted = WithoutAccessKey(verb);
      for (int i = 0, n = GetMenuItemCount(popup.menu); i < n; ++i) {
        char text[512] = {};
        UINT id = GetMenuItemID(popup.menu, i);
        if (id == static_cast<UINT>(-1) || id < kFirstMenuId) continue;  // submenus and separators
        if (GetMenuStringA(popup.menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) <= 0) continue;
        if (WithoutAccessKey(text) != wanted) continue;
        CMINVOKECOMMANDINFO invoke = {};
        invoke.cbSize = sizeof invoke;
        invoke.fMask = CMIC_MASK_FLAG_NO_UI;
        invoke.lpVerb = MAKEINTRESOURCEA(id - kFirstMenuId);
        invoke.nShow = SW_SHOWNORMAL;
        menu->InvokeCommand(&invoke);
        break;
      }
    }
  }
  CoTaskMemFree(item);
}

// Asks the shell to pin the program to Start through its "Pin to Start" verb. Systems
// that refuse programmatic pinning show no such verb to programs, nor does Wine, whose
// shell32 lacks the text: then nothing happens.
void PinProgram(const std::string& program) {
  UniqueModule shell32(LoadLibraryA("shell32.dll"));
  char verb[256] = {};
  if (!shell32 || LoadStringA(shell32.get(), kPinToStartText, verb, sizeof verb) <= 0) return;
  InvokeVerb(program, verb);
}

void Run(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[1] != kPinToStart) return;
  const std::string& program = args[0];
  const std::string name = BaseNameWithoutExtension(program);
  const std::string folder = ProgramsFolder();
  if (name.empty() || folder.empty() || !FitsMaxPath(program) || !FileExists(program)) return;
  const std::string lnkPath = folder + name + ".lnk";
  if (!FitsMaxPath(lnkPath)) return;
  WriteProgramShortcut(lnkPath, program);
  PinProgram(program);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Nobody watches this process: no critical-error or fault boxes.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  if (SUCCEEDED(OleInitialize(nullptr))) {
    Run(gbk::ArgumentsAfterProgramName(GetCommandLineA()));
    OleUninitialize();
  }
  return 0;
}
