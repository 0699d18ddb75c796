#include "tesserin/ui/colour.h"

#include "tesserin/ui/glyphs.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/picture_box_win.h"

void ApplyBackgroundColour(bool) {}
// The two radios are exclusive by these handlers, which also colour the preview name.
void SelectWhiteText() {
  if (!IsChecked("单选框_文字颜色_白色")) return;
  SetTextColour("透明标签_效果文字", RGB(255, 255, 255));
  SetChecked("单选框_文字颜色_黑色", false);
}

void SelectBlackText() {
  if (!IsChecked("单选框_文字颜色_黑色")) return;
  SetTextColour("透明标签_效果文字", RGB(0, 0, 0));
  SetChecked("单选框_文字颜色_白色", false);
}
void OnSwatchLeftUp() {}
void OnSwatchRightUp() {}
void OnCaptureLeftDown() {}
void OnCaptureMouseMove() {}
void OnCaptureLeftUp() {}
void EndColourCapture() {}

void ShowCaptureGlyph(bool active) {
  HWND box = Control("图片框_颜色捕获");
  if (!box) return;
  SetPictureBoxCentred(box, true);
  SetPictureBoxPicture(box, active ? ActiveMagnifierPng() : IdleMagnifierPng());
}
