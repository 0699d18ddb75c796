// Stands in for the web browser in tests: the test points the prefix's http and https
// "open" commands at `url_recorder.exe "%1"`, and every link the shell opens is appended,
// one per line (CRLF), to the file named by the environment variable URL_RECORDER_LOG
// (url_recorder.log beside this program when unset). The line holds the first argument
// exactly as the shell passed it.
#include <windows.h>

#include <string>
#include <vector>

#include "common/gbk.h"
#include "common/scoped_win.h"
#include "common/win_text.h"

int main() {
  std::vector<std::string> args = gbk::ArgumentsAfterProgramName(GetCommandLineA());
  std::string line = (args.empty() ? std::string() : args.front()) + "\r\n";

  // The wide call: GetEnvironmentVariableA cuts GBK values under Wine.
  wchar_t log[MAX_PATH * 2] = {};
  DWORD n = GetEnvironmentVariableW(L"URL_RECORDER_LOG", log, MAX_PATH * 2);
  std::wstring path = n > 0 && n < MAX_PATH * 2 ? std::wstring(log, n) : ToWide(RunFolder() + "\\url_recorder.log");

  // FILE_APPEND_DATA writes each line whole at the end, also when several recorders run.
  // Another recorder may hold the file for a moment: retry for a few seconds.
  for (int attempt = 0; attempt < 100; ++attempt) {
    UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) {
      DWORD done = 0;
      return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr) &&
                     done == line.size()
                 ? 0
                 : 1;
    }
    Sleep(50);
  }
  return 1;
}
