#pragma once
// The UI texts are GBK. On a Traditional Chinese or Japanese system the program
// re-encodes them for that system's code page (950 or 932) right before they are
// shown, so a GBK string never reaches a window as mojibake.

#include <string>

// 0 until start-up sets it (shows GBK as is, like 1); 1 simplified Chinese or any
// other system; 2 Traditional Chinese (Big5); 3 Japanese (Shift_JIS).
extern int LanguageMode;

// 2052 (PRC) gives 1, 1028 (Taiwan) 2, 1041 (Japan) 3, anything else 1, Hong
// Kong (3076) included: only those three systems are told apart.
void SetLanguageModeFromLcid(unsigned long lcid);

// The text re-encoded for LanguageMode. Keeps the byte count: every double-byte
// character becomes two bytes (its Big5/Shift_JIS code or "??"), ASCII and
// malformed bytes are copied, so offsets computed on the GBK text stay valid.
std::string ToDisplayText(const std::string& text);

// Shift_JIS code of the GBK character lead,trail into out; false when it has none.
// Mode 3 takes it from the system's code pages, so it is installed at run time;
// without one every double-byte character shows as "??".
using ShiftJisLookup = bool (*)(unsigned char lead, unsigned char trail, unsigned char out[2]);
void SetShiftJisLookup(ShiftJisLookup lookup);

// Big5 code of the traditional form of every GBK double-byte code, index
// (lead-0x81)*190 + trail column (0x7F skipped); where that form has none, the
// code of the character as it is, else "??". Generated at build time from OpenCC
// data by tools/gen_big5_table.py, since Wine's LCMapString has no such mapping.
extern const unsigned char kGbkToBig5[126 * 190][2];

#ifdef _WIN32
// Sets LanguageMode from GetSystemDefaultLCID() and installs the code-page lookup.
void SetLanguageMode();
// The lookup built from code pages 936 and 932 (JIS X 0208 and Windows' additions).
bool ShiftJisFromCodePages(unsigned char lead, unsigned char trail, unsigned char out[2]);
#endif
