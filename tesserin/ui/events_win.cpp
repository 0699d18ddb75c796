// Which event of which control runs which handler.
#include "tesserin/ui/events.h"

#include <functional>

#include "tesserin/settings/settings.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/colour.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/preview.h"
#include "tesserin/update/update.h"

namespace {

// The two program-path buttons follow whether the path field holds any text.
void UpdateProgramPathButtons() {
  bool any = !GetText("编辑框_程序路径").empty();
  SetEnabled("按钮_程序路径_打开目录", any);
  SetEnabled("按钮_程序路径_初始化", any);
}

struct Binding {
  const char* control;
  UiEvent event;
  std::function<void()> handler;
};

const Binding* Bindings(size_t* count) {
  static const Binding kBindings[] = {
      {"编辑框_程序路径", UiEvent::Changed, UpdateProgramPathButtons},
      {"按钮_程序路径_打开目录", UiEvent::Clicked, OpenProgramFolder},
      {"按钮_程序路径_初始化", UiEvent::Clicked, ResetTile},
      {"编辑框_文件名称", UiEvent::Changed, ShowPreviewName},
      {"选择框_不显示文字", UiEvent::Clicked, UpdateNameVisibility},
      {"单选框_文字颜色_白色", UiEvent::Clicked, SelectWhiteText},
      {"单选框_文字颜色_黑色", UiEvent::Clicked, SelectBlackText},
      {"编辑框_背景颜色", UiEvent::Changed, [] { ApplyBackgroundColour(false); }},
      {"按钮_背景颜色_设为默认", UiEvent::Clicked, SaveDefaultColour},
      {"图片框_颜色选择", UiEvent::LeftUp, OnSwatchLeftUp},
      {"图片框_颜色选择", UiEvent::RightUp, OnSwatchRightUp},
      {"图片框_颜色捕获", UiEvent::LeftDown, OnCaptureLeftDown},
      {"图片框_颜色捕获", UiEvent::MouseMove, OnCaptureMouseMove},
      {"图片框_颜色捕获", UiEvent::LeftUp, OnCaptureLeftUp},
      {"编辑框_大图背景", UiEvent::Changed, [] { UpdateClearButton("编辑框_大图背景"); }},
      {"编辑框_小图背景", UiEvent::Changed, [] { UpdateClearButton("编辑框_小图背景"); }},
      {"编辑框_图标位置", UiEvent::Changed, [] { UpdateClearButton("编辑框_图标位置"); }},
      {"按钮_大图背景_清除", UiEvent::Clicked, [] { ClearBackgroundField("按钮_大图背景_清除"); }},
      {"按钮_小图背景_清除", UiEvent::Clicked, [] { ClearBackgroundField("按钮_小图背景_清除"); }},
      {"按钮_图标位置_清除", UiEvent::Clicked, ClearIconField},
      {"按钮_添加磁贴", UiEvent::Clicked, AddOrUpdateTile},
      {"选择框_添加开始菜单", UiEvent::Clicked, OnContextMenuCheckBoxClicked},
      {"选择框_智能识别文字颜色", UiEvent::Clicked, SaveSmartColourOption},
      {"选择框_禁止检查更新", UiEvent::Clicked, SaveUpdateOption},
      {"标签_检查更新", UiEvent::LeftUp, [] { StartUpdateCheck(0); }},
      {"标签_程序路径说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_程序路径说明"); }},
      {"标签_显示文字说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_显示文字说明"); }},
      {"标签_不显示文字说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_不显示文字说明"); }},
      {"标签_文字颜色说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_文字颜色说明"); }},
      {"标签_背景颜色说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_背景颜色说明"); }},
      {"标签_大图背景说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_大图背景说明"); }},
      {"标签_小图背景说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_小图背景说明"); }},
      {"标签_图标位置说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_图标位置说明"); }},
      {"标签_添加开始菜单说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_添加开始菜单说明"); }},
      {"标签_文字颜色智能识别说明", UiEvent::MouseMove, [] { ShowHelpTip("标签_文字颜色智能识别说明"); }},
      {"标签_禁止检查更新", UiEvent::MouseMove, [] { ShowHelpTip("标签_禁止检查更新"); }},
  };
  *count = sizeof kBindings / sizeof kBindings[0];
  return kBindings;
}

}  // namespace

void DispatchControlEvent(const std::string& name, UiEvent event) {
  size_t count = 0;
  const Binding* bindings = Bindings(&count);
  for (size_t i = 0; i < count; ++i)
    if (bindings[i].event == event && name == bindings[i].control) bindings[i].handler();
}

bool HasHandler(const std::string& name, UiEvent event) {
  size_t count = 0;
  const Binding* bindings = Bindings(&count);
  for (size_t i = 0; i < count; ++i)
    if (bindings[i].event == event && name == bindings[i].control) return true;
  return false;
}
