// Byte-string helpers for GBK (code page 936) texts.
//
// A GBK double-byte character is a lead byte 0x81..0xFE followed by a trail byte
// 0x40..0xFE; trails include '\\' (0x5C), so every search for a separator steps over
// double-byte characters whole.
#pragma once

#include <string>
#include <vector>

namespace gbk {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Position of the last `ch` (an ASCII byte) in `text`, stepping over double-byte
// characters from the start; std::string::npos when there is none.
size_t FindLast(const std::string& text, char ch);

// Text after the last "." of the file-name part of `path` (after the last backslash),
// case kept; "" when the name has no dot, ends in a dot, or the path ends in a backslash.
// A dot in a folder name never counts: "C:\\my.pics\\logo" gives "".
std::string FileTypeText(const std::string& path);

// Splits a command line into arguments: bytes below '!' separate them; an argument that
// starts with a double quote runs to the next double quote (an empty pair is an empty
// argument); double-byte characters are taken whole.
std::vector<std::string> SplitArguments(const std::string& text);

// The arguments that follow the program's own name on a full command line.
std::vector<std::string> ArgumentsAfterProgramName(const std::string& commandLine);

// ASCII A-Z to a-z; double-byte characters are left whole (their trail bytes untouched).
std::string AsciiLower(const std::string& text);

// Every occurrence of `what` replaced by `with`, searching byte for byte.
std::string ReplaceAll(const std::string& text, const std::string& what, const std::string& with);

}  // namespace gbk
