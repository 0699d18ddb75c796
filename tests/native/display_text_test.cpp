// Chinese literals here are GBK bytes (the sources are built with -fexec-charset=GBK);
// expected Big5 and Shift_JIS bytes are spelled out as escapes.
#include "tesserin/ui/display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Stands in for the code-page lookup: knows 日 and 本 and 误, nothing else.
bool FixtureShiftJis(unsigned char lead, unsigned char trail, unsigned char out[2]) {
  struct Entry { unsigned char gbk[2], sjis[2]; };
  static const Entry kEntries[] = {
      {{0xC8, 0xD5}, {0x93, 0xFA}},  // 日
      {{0xB1, 0xBE}, {0x96, 0x7B}},  // 本
      {{0xCE, 0xF3}, {0x8C, 0xEB}},  // 误, as if it had a JIS form
  };
  for (const Entry& e : kEntries) {
    if (e.gbk[0] == lead && e.gbk[1] == trail) {
      out[0] = e.sjis[0];
      out[1] = e.sjis[1];
      return true;
    }
  }
  return false;
}

class DisplayText : public ::testing::Test {
 protected:
  void SetUp() override {
    savedMode_ = LanguageMode;
    SetShiftJisLookup(FixtureShiftJis);
  }
  void TearDown() override {
    LanguageMode = savedMode_;
    SetShiftJisLookup(nullptr);
  }
  static std::string In(int mode, const std::string& text) {
    LanguageMode = mode;
    return ToDisplayText(text);
  }

 private:
  int savedMode_ = 0;
};

TEST(LanguageModeFromLcid, PicksModeByLcid) {
  const struct { unsigned long lcid; int mode; } kCases[] = {
      {2052, 1}, {1028, 2}, {1041, 3}, {3076, 1}, {1033, 1}, {0, 1},
  };
  const int saved = LanguageMode;
  for (const auto& c : kCases) {
    LanguageMode = 99;
    SetLanguageModeFromLcid(c.lcid);
    EXPECT_EQ(c.mode, LanguageMode) << "LCID " << c.lcid;
  }
  LanguageMode = saved;
}

TEST_F(DisplayText, AsciiAndEmptyAreUnchangedInEveryMode) {
  for (int mode : {0, 1, 2, 3, 4, -1}) {
    for (const char* text : {"", "#0078D7", "Tesserin v1.0", "a\tb\r\n~\x7F"}) {
      EXPECT_EQ(text, In(mode, text)) << "mode " << mode;
    }
  }
}

TEST_F(DisplayText, ModesOtherThanTwoAndThreeCopyGbk) {
  const std::string text = "错误：设置";
  for (int mode : {0, 1, 4, -1}) EXPECT_EQ(text, In(mode, text)) << "mode " << mode;
}

TEST_F(DisplayText, BigFiveGivesTraditionalForms) {
  const struct { const char* gbk; const char* big5; } kCases[] = {
      {"错误：", "\xBF\xF9\xBB\x7E\xA1\x47"},             // 錯誤：
      {"这个发", "\xB3\x6F\xAD\xD3\xB5\x6F"},             // 這個發: simplified-only
      {"Tesserin 设置", "Tesserin \xB3\x5D\xB8\x6D"},     // 設置
      {"日本", "\xA4\xE9\xA5\xBB"},                       // same in both scripts
  };
  for (const auto& c : kCases) EXPECT_EQ(c.big5, In(2, c.gbk)) << c.gbk;
}

TEST_F(DisplayText, ShiftJisUsesTheLookupAndMarksTheRest) {
  EXPECT_EQ("\x93\xFA\x96\x7B", In(3, "日本"));
  EXPECT_EQ("A\x93\xFA??B??", In(3, "A日这B们"));
  SetShiftJisLookup(nullptr);
  EXPECT_EQ("??x", In(3, "日x"));
}

// Bytes that do not form a GBK character are copied and keep the count; a pair
// that starts with one is skipped as a whole, so the reading stays in step.
TEST_F(DisplayText, MalformedBytesAreCopiedInStep) {
  const struct { std::string gbk, big5, sjis; } kCases[] = {
      {"\xB4", "\xB4", "\xB4"},                                       // lead at the end
      {"误\xB4", "\xBB\x7E\xB4", "\x8C\xEB\xB4"},
      {"\xB4 误", "\xB4 \xBB\x7E", "\xB4 \x8C\xEB"},                  // lead + space
      {"\xB4\x7F误", "\xB4\x7F\xBB\x7E", "\xB4\x7F\x8C\xEB"},         // 0x7F is no trail
      {"\xB4\xFF误", "\xB4\xFF\xBB\x7E", "\xB4\xFF\x8C\xEB"},
      {"\x80\xB4误", "\x80\xB4\xBB\x7E", "\x80\xB4\x8C\xEB"},         // 0x80 takes the next byte
      {"\xFF\xCE\xF3", "\xFF\xCE\xF3", "\xFF\xCE\xF3"},
      {"\x80", "\x80", "\x80"},
      {std::string("\xB4\0\xB4", 3), std::string("\xB4\0\xB4", 3), std::string("\xB4\0\xB4", 3)},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.big5, In(2, c.gbk)) << testing::PrintToString(c.gbk);
    EXPECT_EQ(c.sjis, In(3, c.gbk)) << testing::PrintToString(c.gbk);
  }
}

// Every byte pair converts to as many bytes, the byte after it is read in step,
// and a double-byte character never turns into a NUL, which would cut the text
// short once it reaches a window.
TEST_F(DisplayText, EveryPairKeepsItsLengthAndNeverGivesNul) {
  LanguageMode = 2;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 1; trail < 256; ++trail) {
      const std::string text = {static_cast<char>(lead), static_cast<char>(trail), ' '};
      const std::string out = ToDisplayText(text);
      ASSERT_EQ(3u, out.size()) << lead << "," << trail;
      ASSERT_EQ(lead == 0, out.find('\0') != std::string::npos) << lead << "," << trail;
      ASSERT_EQ(' ', out[2]);
    }
  }
}

}  // namespace
