// config.ini beside the program:
//
//   [其他设置]
//   文字颜色智能识别=真
//   禁止检查更新=假
//
//   [磁贴设置]
//   默认背景颜色=#0078D7
//
// Section names, key names and the truth values are written in the display code page
// (Big5 or Shift_JIS on those systems); the colour is written as typed.
#include "tesserin/settings/settings.h"

#include <string>

#include "common/profile.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"

namespace {

const char* const kTileSection = "磁贴设置";
const char* const kOtherSection = "其他设置";
const char* const kDefaultColourKey = "默认背景颜色";
const char* const kNoUpdateKey = "禁止检查更新";
const char* const kSmartColourKey = "文字颜色智能识别";
const char* const kSmartColourBox = "选择框_智能识别文字颜色";
const char* const kNoUpdateBox = "选择框_禁止检查更新";

std::string Read(const char* section, const char* key, const std::string& fallback) {
  return ReadProfileText(ConfigPath, ToDisplayText(section), ToDisplayText(key), fallback);
}

void Write(const char* section, const char* key, const std::string& value) {
  WriteProfileText(ConfigPath, ToDisplayText(section), ToDisplayText(key), value);
}

void SaveOption(const char* key, const char* box) {
  Write(kOtherSection, key, ToDisplayText(IsChecked(box) ? "真" : "假"));
}

}  // namespace

void LoadSettings() {
  DefaultBackColour = Read(kTileSection, kDefaultColourKey, "#0078D7");
  SetText("编辑框_背景颜色", DefaultBackColour);
  const std::string yes = ToDisplayText("真");
  SetChecked(kNoUpdateBox, Read(kOtherSection, kNoUpdateKey, ToDisplayText("假")) == yes);
  SetChecked(kSmartColourBox, Read(kOtherSection, kSmartColourKey, yes) == yes);
}

void SaveDefaultColour() {
  DefaultBackColour = GetText("编辑框_背景颜色");
  Write(kTileSection, kDefaultColourKey, GetText("编辑框_背景颜色"));
}

void SaveSmartColourOption() { SaveOption(kSmartColourKey, kSmartColourBox); }

void SaveUpdateOption() { SaveOption(kNoUpdateKey, kNoUpdateBox); }

void SaveCheckBoxSettings() {
  SaveOption(kSmartColourKey, kSmartColourBox);
  SaveOption(kNoUpdateKey, kNoUpdateBox);
}
