// linktile.exe: does its whole job at start, shows at most one message box and ends with
// exit code 0 whatever happened. It needs no window of its own.
#include <windows.h>
#include <objbase.h>

#include "common/win_text.h"
#include "linktile/linktile_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // ShellExecute may hand a link to a COM-based handler (browsers registered through
  // DelegateExecute), which needs COM on the calling thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  linktile::RunLinktile(GetCommandLineA(), RunFolder(), FileNameOf(OwnModulePath()));
  ExitProcess(0);
}
