// Start-up, single instance and shutdown: the program-wide values and the steps that
// run while the main window is created.
#pragma once

#include <string>
#include <vector>

// Program-wide values; texts are GBK and start empty, flags false.
extern std::string InfoCaption;        // "信息：" for display
extern std::string ErrorCaption;       // "错误：" for display
extern std::string VersionText;        // "v" + first three characters of FileVersion
extern std::string ConfigPath;         // run folder + "\config.ini"
extern std::string DefaultBackColour;  // default tile colour from config.ini
extern bool IsElevated;                // administrator test, taken once at start-up

// The arguments after the program's own name, set before the window is created.
extern std::vector<std::string> ProgramArguments;

extern const char* const kSingleInstanceMutex;
extern const char* const kProductTitle;

// Small code for the system version: 10 and above run Tesserin (8, 8.1, 10 and later).
// `platformId` is 2 for the NT family, 1 for the 9x family.
int WindowsVersionCode(unsigned major, unsigned minor, unsigned platformId);
// "v" + the first three characters of a FileVersion string: "3.3.0.0" gives "v3.3".
std::string VersionTextFrom(const std::string& fileVersion);
// The take-over's title test: `wanted` inside `title`, ASCII letters compared without case.
bool TitleContains(const std::string& title, const std::string& wanted);
// "请勿多开 [<exe name>]！"
std::string RefusalText(const std::string& exeFileName);

// Window events handled here (Windows only).
void OnWindowCreated();
void OnMainWindowLostFocus();
void OnMainWindowDestroyed();
// Releases the program-wide values and the drop bindings; runs once.
void RunExitCleanup();
// Ends the program from start-up: clean-up, then exit code 0.
[[noreturn]] void EndProgram();
bool TakeOverRunningInstance();
