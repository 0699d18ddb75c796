// Conversions at the edge between our GBK byte strings and Windows' UTF-16.
#pragma once

#include <windows.h>
#include <string>

// `text` in code page `cp` to UTF-16; "" on failure.
std::wstring ToWide(const std::string& text, UINT cp = CP_ACP);
// UTF-16 to code page `cp`; "" on failure.
std::string FromWide(const std::wstring& text, UINT cp = CP_ACP);

// Files and folders by GBK path (the ANSI functions).
bool FileExists(const std::string& path);
bool ReadFileBytes(const std::string& path, std::string* bytes);
// The full path of this program, and its folder without trailing backslash.
std::string OwnModulePath();
std::string RunFolder();
// The file-name part (after the last backslash) of a path.
std::string FileNameOf(const std::string& path);
// Whether the ANSI file functions can take `path` whole: fewer than MAX_PATH UTF-16 units.
bool FitsMaxPath(const std::string& path);
// The current user's Start-menu Programs folder with a trailing backslash; "" when
// Windows cannot tell.
std::string ProgramsFolder();
