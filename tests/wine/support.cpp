#include "tests/wine/support.h"

#include "common/win_text.h"

std::string BinFolder() { return RunFolder(); }

Child::~Child() {
  if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
}

DWORD Child::WaitExit(DWORD ms) {
  if (!process) return STILL_ACTIVE;
  WaitForSingleObject(process.get(), ms);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

bool Start(const std::string& commandLine, Child* child, const std::string& folder) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  child->process.reset(pi.hProcess);
  child->pid = pi.dwProcessId;
  return true;
}

std::string WindowText(HWND w) {
  int n = GetWindowTextLengthA(w);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(w, &text[0], n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

namespace {
struct Search {
  DWORD pid;
  const char* cls;
  bool (*ready)(const std::string&);
  HWND found;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp) {
  Search* s = reinterpret_cast<Search*>(lp);
  char cls[128] = {};
  GetClassNameA(w, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (lstrcmpA(cls, s->cls) == 0 && (s->pid == 0 || pid == s->pid) && IsWindowVisible(w) &&
      (!s->ready || s->ready(WindowText(w)))) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForWindow(DWORD pid, const char* cls, DWORD ms, bool (*ready)(const std::string&)) {
  DWORD start = GetTickCount();
  for (;;) {
    Search s = {pid, cls, ready, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount() - start > ms) return nullptr;
    Sleep(50);
  }
}

HWND WaitForMessageBox(DWORD pid, DWORD ms) { return WaitForWindow(pid, "#32770", ms); }

std::string MessageBoxText(HWND box) {
  char text[8192] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

void PressButton(HWND box, int id) {
  // WM_CLOSE would answer IDCANCEL; press the button itself.
  if (HWND button = GetDlgItem(box, id)) SendMessageA(button, BM_CLICK, 0, 0);
  else PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

TempFolder::TempFolder() {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  char name[MAX_PATH];
  wsprintfA(name, "%stesserin-test-%lu-%d", base, GetCurrentProcessId(), ++counter);
  path = name;
  RemoveTree(path);
  CreateDirectoryA(path.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path); }

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(f);
  return ok && done == bytes.size();
}

std::string ReadFileOrEmpty(const std::string& path) {
  std::string bytes;
  return ReadFileBytes(path, &bytes) ? bytes : std::string();
}

std::string MakeStandInProgram(const TempFolder& folder, const std::string& relative) {
  std::string path = folder / relative;
  for (size_t i = folder.path.size() + 1; i < path.size(); ++i)
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  WriteFileBytes(path, "MZ");
  return path;
}
