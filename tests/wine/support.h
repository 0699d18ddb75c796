// Helpers for tests that run real programs and look at their windows from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/scoped_win.h"

// Folder of the test program (where Tesserin.exe, linktile.exe and syspin.dll are built).
std::string BinFolder();

// A started process; ends it on destruction if it still runs.
struct Child {
  UniqueHandle process;
  DWORD pid = 0;
  ~Child();
  // Exit code after waiting up to `ms`; STILL_ACTIVE (259) when it did not end.
  DWORD WaitExit(DWORD ms);
};
// Starts `commandLine` in `folder` ("" for the current one); false on failure.
bool Start(const std::string& commandLine, Child* child, const std::string& folder = std::string());

// A visible top-level window of `cls` in process `pid` (0: any process) whose title passes
// `ready` (nullptr: any title), polled until `ms` have passed.
HWND WaitForWindow(DWORD pid, const char* cls, DWORD ms, bool (*ready)(const std::string& title) = nullptr);
// A message box (#32770) of process `pid`.
HWND WaitForMessageBox(DWORD pid, DWORD ms);
std::string WindowText(HWND w);
// The text of a message box.
std::string MessageBoxText(HWND box);
// Presses a button of a message box (IDOK, IDYES, IDNO) as a user would.
void PressButton(HWND box, int id);

// A fresh folder under the temp folder, removed with its files on destruction.
struct TempFolder {
  std::string path;  // no trailing backslash
  TempFolder();
  ~TempFolder();
  std::string operator/(const std::string& name) const { return path + "\\" + name; }
};
void RemoveTree(const std::string& folder);
// A small file standing in for a program at `relative` below `folder` (folders made).
std::string MakeStandInProgram(const TempFolder& folder, const std::string& relative);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileOrEmpty(const std::string& path);
