// Path functions shared by the tile operations. Paths are GBK byte strings; every search
// for "." or "\" takes double-byte characters whole, so a trail byte 0x5C is no backslash.
#pragma once

#include <string>

// The text before the last "." of the whole path; "" when the path holds no ".".
// A dot in a folder name counts: "C:\\my.app\\run" gives "C:\\my".
std::string PathWithoutExtension(const std::string& path);
// The file-name part (after the last backslash, or the whole path) up to its last ".";
// "" when that part holds no ".".
std::string BaseNameWithoutExtension(const std::string& path);
// The text up to and including the last backslash; "" when there is none.
std::string FolderOfPath(const std::string& path);
// The text without the run of ASCII spaces and full-width spaces (GBK A1 A1) at its end.
std::string TrimTrailingSpaces(const std::string& text);

