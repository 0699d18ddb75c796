// Looks at Tesserin's window from outside, as a user's desktop would:
//   wintool wait CLASS MS    waits for a visible window of CLASS whose title is set,
//                            prints the title (exit 1 on time-out)
//   wintool close CLASS      closes it and waits for its process to end
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/tools/ready_window.h"

int main(int argc, char** argv) {
  if (argc >= 4 && strcmp(argv[1], "wait") == 0) {
    DWORD until = GetTickCount() + static_cast<DWORD>(atoi(argv[3]));
    for (;;) {
      if (HWND w = FindReadyWindow(argv[2])) {
        char title[256] = {};
        GetWindowTextA(w, title, sizeof title);
        printf("%s\n", title);
        return 0;
      }
      if (static_cast<LONG>(GetTickCount() - until) > 0) return 1;
      Sleep(100);
    }
  }
  if (argc >= 3 && strcmp(argv[1], "close") == 0) {
    HWND w = FindWindowExA(nullptr, nullptr, argv[2], nullptr);
    if (!w) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(w, WM_CLOSE, 0, 0);
    if (process) {
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
    return 0;
  }
  fprintf(stderr, "usage: wintool wait CLASS MS | close CLASS\n");
  return 2;
}
