#include "tesserin/ui/colour.h"

#include "tesserin/ui/glyphs.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/picture_box_win.h"

void ApplyBackgroundColour(bool) {}
void SelectWhiteText() {}
void SelectBlackText() {}
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
