// Stands in for a program that Tesserin starts by name (Explorer): a test copies it into
// the folder of a Tesserin copy under that name, where CreateProcess looks first. It
// writes its whole command line, as it received it, to "<own path>.txt" and ends.
#include <windows.h>

#include <string>

#include "common/win_text.h"

int main() {
  const std::string line = GetCommandLineA();
  const std::string path = OwnModulePath() + ".txt";
  // Written under another name and moved into place, so a reader never sees half of it.
  const std::string partial = path + ".partial";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD done = 0;
  BOOL written = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
  CloseHandle(file);
  return written && MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
