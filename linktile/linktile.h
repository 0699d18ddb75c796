// linktile: a copy named XXX.exe opens the link in XXX.ini beside it, and writes that
// XXX.ini when it is started with a .url Internet shortcut.
//
// The platform-free half: names, paths and the choice between set-up and launch. The
// Win32 half (profile files, message boxes, the shell) is in linktile_win.h.
#pragma once

#include <string>

namespace linktile {

// The program's own file name without ".exe": the XXX of XXX.exe.
std::string LauncherName(const std::string& ownFileName);
// Where this copy keeps its link: <run folder>\XXX.ini.
std::string SettingsPath(const std::string& runFolder, const std::string& ownFileName);
// The .url file to set up from, or "" to launch.
std::string SetUpArgument(const std::string& commandLine);
// Whether set-up accepts `path` as an Internet shortcut.
bool IsShortcutFile(const std::string& path);

}  // namespace linktile
