#include <windows.h>

#include "tesserin/ui/startup_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunTesserin(instance); }
