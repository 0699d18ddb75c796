#include "common/process.h"

#include <windows.h>

#include "common/scoped_win.h"

bool StartAndLeaveRunning(std::string commandLine, int showCommand) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  WaitForInputIdle(process.get(), 1000);
  return true;
}
