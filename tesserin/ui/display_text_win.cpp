#include "tesserin/ui/display_text.h"

#include <windows.h>

#include <array>

namespace {

// Shift_JIS code of every GBK double-byte code, same layout as kGbkToBig5;
// {0, 0} where there is none. Windows ships both code pages, so this is asked
// of the system once instead of carrying a second generated table.
using ShiftJisTable = std::array<std::array<unsigned char, 2>, 126 * 190>;

ShiftJisTable BuildShiftJisTable() {
  ShiftJisTable table{};
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char gbk[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t wide[2];
      const int wideLen = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk, 2, wide, 2);
      if (wideLen <= 0) continue;
      char sjis[4];
      BOOL usedDefault = FALSE;
      // No best fit: a look-alike guess would show a different character.
      const int len = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, wideLen, sjis,
                                          sizeof sjis, nullptr, &usedDefault);
      if (usedDefault || len != 2) continue;  // 1 byte: half-width katakana
      const int column = trail <= 0x7E ? trail - 0x40 : trail - 0x41;
      table[(lead - 0x81) * 190 + column] = {static_cast<unsigned char>(sjis[0]),
                                             static_cast<unsigned char>(sjis[1])};
    }
  }
  return table;
}

}  // namespace

bool ShiftJisFromCodePages(unsigned char lead, unsigned char trail, unsigned char out[2]) {
  if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE || trail == 0x7F) return false;
  static const ShiftJisTable table = BuildShiftJisTable();
  const int column = trail <= 0x7E ? trail - 0x40 : trail - 0x41;
  const auto& entry = table[(lead - 0x81) * 190 + column];
  if (entry[0] == 0) return false;
  out[0] = entry[0];
  out[1] = entry[1];
  return true;
}

void SetLanguageMode() {
  SetShiftJisLookup(ShiftJisFromCodePages);
  SetLanguageModeFromLcid(GetSystemDefaultLCID());
}
