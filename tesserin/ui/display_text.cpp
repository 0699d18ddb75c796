#include "tesserin/ui/display_text.h"

int LanguageMode = 0;

namespace {

ShiftJisLookup g_shiftJisLookup = nullptr;

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Walks the GBK text and lets convert rewrite each well-formed double-byte
// character in place; everything else (ASCII, malformed pairs, a lead byte at
// the end) is left as it is. The length never changes.
template <typename Convert>
std::string MapDoubleBytes(const std::string& text, Convert convert) {
  std::string out = text;
  const size_t n = out.size();
  size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(out[i]);
    if (lead < 0x80 || i + 1 == n) {
      ++i;
      continue;
    }
    const auto trail = static_cast<unsigned char>(out[i + 1]);
    if (IsLead(lead) && IsTrail(trail)) {
      unsigned char code[2];
      convert(lead, trail, code);
      out[i] = static_cast<char>(code[0]);
      out[i + 1] = static_cast<char>(code[1]);
    }
    i += 2;
  }
  return out;
}

void ToBig5(unsigned char lead, unsigned char trail, unsigned char code[2]) {
  const int column = trail <= 0x7E ? trail - 0x40 : trail - 0x41;
  const unsigned char* entry = kGbkToBig5[(lead - 0x81) * 190 + column];
  code[0] = entry[0];
  code[1] = entry[1];
}

void ToShiftJis(unsigned char lead, unsigned char trail, unsigned char code[2]) {
  if (g_shiftJisLookup == nullptr || !g_shiftJisLookup(lead, trail, code)) {
    code[0] = '?';
    code[1] = '?';
  }
}

}  // namespace

void SetLanguageModeFromLcid(unsigned long lcid) {
  switch (lcid) {
    case 2052: LanguageMode = 1; break;
    case 1028: LanguageMode = 2; break;
    case 1041: LanguageMode = 3; break;
    default: LanguageMode = 1; break;
  }
}

void SetShiftJisLookup(ShiftJisLookup lookup) { g_shiftJisLookup = lookup; }

std::string ToDisplayText(const std::string& text) {
  switch (LanguageMode) {
    case 2: return MapDoubleBytes(text, ToBig5);
    case 3: return MapDoubleBytes(text, ToShiftJis);
    default: return text;
  }
}
