// Shared by the outside tools: a visible top-level window of a class whose title is set
// (starts with "Tesserin", which start-up writes last), or nullptr.
#pragma once

#include <windows.h>

#include <cstring>

inline HWND FindReadyWindow(const char* cls) {
  for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w; w = FindWindowExA(nullptr, w, cls, nullptr)) {
    char title[256] = {};
    GetWindowTextA(w, title, sizeof title);
    if (IsWindowVisible(w) && strncmp(title, "Tesserin", 8) == 0) return w;
  }
  return nullptr;
}
