// Chinese literals here are GBK bytes (the sources are built with -fexec-charset=GBK);
// expected Big5 and Shift_JIS bytes are spelled out as escapes.
// Suites ending in _zhTW, _jaJP, _enUS run under that system locale, the others
// under zh_CN.
#include "tesserin/ui/display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Keeps the program-wide mode as it was, whatever a test sets.
class ModeGuard {
 public:
  ModeGuard() : saved_(LanguageMode) {}
  ~ModeGuard() { LanguageMode = saved_; }

 private:
  int saved_;
};

std::string ShiftJisOf(const std::string& gbk) {
  ModeGuard guard;
  SetShiftJisLookup(ShiftJisFromCodePages);
  LanguageMode = 3;
  return ToDisplayText(gbk);
}

// The code pages convert the same whatever the system's ANSI code page is.
TEST(ShiftJisFromCodePages, MapsJisCharactersAndMarksTheRest) {
  const struct { const char* gbk; const char* sjis; } kCases[] = {
      {"日本", "\x93\xFA\x96\x7B"},
      {"这", "??"},                     // simplified only
      {"们", "??"},
      {"错误：", "????\x81\x46"},       // full-width colon is in JIS too
      {"v1.0 日", "v1.0 \x93\xFA"},
      {"\xB4", "\xB4"},                 // a lead byte at the end stays
  };
  for (const auto& c : kCases) EXPECT_EQ(c.sjis, ShiftJisOf(c.gbk)) << c.gbk;
}

// Whatever the code pages give, each GBK code becomes one two-byte Shift_JIS
// code (never a single half-width byte, never a NUL) or nothing.
TEST(ShiftJisFromCodePages, GivesOnlyTwoByteCodes) {
  int mapped = 0;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      unsigned char out[2] = {0, 0};
      if (!ShiftJisFromCodePages(static_cast<unsigned char>(lead),
                                 static_cast<unsigned char>(trail), out)) {
        continue;
      }
      ++mapped;
      const bool sjisLead = (out[0] >= 0x81 && out[0] <= 0x9F) || (out[0] >= 0xE0 && out[0] <= 0xFC);
      ASSERT_TRUE(sjisLead && out[1] >= 0x40 && out[1] != 0x7F && out[1] <= 0xFC)
          << std::hex << lead << " " << trail << " -> " << int(out[0]) << " " << int(out[1]);
    }
  }
  // GBK shares thousands of kanji, kana and symbols with JIS X 0208.
  EXPECT_GT(mapped, 5000);
}

TEST(LanguageMode, SimplifiedChineseSystemKeepsGbk) {
  ModeGuard guard;
  SetLanguageMode();
  EXPECT_EQ(1, LanguageMode);
  EXPECT_EQ("错误：", ToDisplayText("错误："));
}

TEST(LanguageMode_zhTW, TaiwanSystemShowsBig5) {
  ModeGuard guard;
  SetLanguageMode();
  EXPECT_EQ(2, LanguageMode);
  EXPECT_EQ("\xBF\xF9\xBB\x7E\xA1\x47", ToDisplayText("错误："));  // 錯誤：
}

TEST(LanguageMode_jaJP, JapaneseSystemShowsShiftJis) {
  ModeGuard guard;
  SetShiftJisLookup(nullptr);  // start-up alone has to install the lookup
  SetLanguageMode();
  EXPECT_EQ(3, LanguageMode);
  EXPECT_EQ("\x93\xFA\x96\x7B??", ToDisplayText("日本这"));
}

TEST(LanguageMode_enUS, OtherSystemsKeepGbk) {
  ModeGuard guard;
  SetLanguageMode();
  EXPECT_EQ(1, LanguageMode);
}

}  // namespace
