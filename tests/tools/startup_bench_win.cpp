// Start-up benchmark: time from CreateProcess until the program's window is ready
// (visible, its title set), for Tesserin and for a bare window program.
//   startup_bench RUNS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/win_text.h"
#include "tests/tools/ready_window.h"

namespace {

// Milliseconds until the window is ready, or -1.
double StartOnce(const std::string& exe, const char* cls) {
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = "\"" + exe + "\"";
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  HWND w = nullptr;
  for (int i = 0; i < 200000 && !(w = FindReadyWindow(cls)); ++i) Sleep(1);
  QueryPerformanceCounter(&t1);
  if (w) PostMessageA(w, WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return w ? 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart) : -1;
}

void Measure(const char* label, const std::string& exe, const char* cls, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(StartOnce(exe, cls));
  std::sort(times.begin(), times.end());
  printf("%-10s median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n", label, times[times.size() / 2], times.front(),
         times.back(), runs);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 10;
  std::string bin = RunFolder();
  Measure("bare", bin + "\\bare_window.exe", "TesserinBareWindow", runs);
  Measure("Tesserin", bin + "\\Tesserin.exe", "750dbc01-9f75-474d-9d69-968482104c0c", runs);
  return 0;
}
