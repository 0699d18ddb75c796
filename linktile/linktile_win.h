// linktile's Win32 half: set-up writes the settings file from a .url file, launch opens the
// link of the settings file with the program registered for its scheme.
#pragma once

#include <string>

#include "common/profile.h"

namespace linktile {

// Writes one profile key; WriteProfileText in the program, a failing stand-in in tests.
using ProfileWriter = bool (*)(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& value);

// Copies "URL" and "IconFile" of the .url file into the settings file and reports the
// result in a message box.
void SetUpFromShortcut(const std::string& shortcutPath, const std::string& settingsPath,
                       ProfileWriter write = WriteProfileText);
// Opens the settings file's link, or reports a missing settings file.
void LaunchLink(const std::string& settingsPath);
// The whole program: `commandLine` as GetCommandLineA gives it, `runFolder` and
// `ownFileName` the program's own folder and file name.
void RunLinktile(const std::string& commandLine, const std::string& runFolder, const std::string& ownFileName);

}  // namespace linktile
