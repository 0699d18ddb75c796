// Tile colour: the colour field, swatch, screen capture and the text colour.
#pragma once

void ApplyBackgroundColour(bool keepTextColour);
void SelectWhiteText();
void SelectBlackText();
void OnSwatchLeftUp();
void OnSwatchRightUp();
void OnCaptureLeftDown();
void OnCaptureMouseMove();
void OnCaptureLeftUp();
// Ends a capture that still holds the mouse.
void EndColourCapture();
// The capture box's magnifier: idle or active.
void ShowCaptureGlyph(bool active);
