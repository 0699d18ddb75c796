// Picture box: a child window with a background colour and a picture given as the
// bytes of an image file (JPEG, PNG, GIF, BMP, ICO), drawn stretched or centred.
// Data of an unknown kind draws nothing but still counts as the box's picture.
#pragma once

#include <windows.h>

#include <string>

extern const char* const kPictureBoxClass;

// Registers the window class once; safe to call again.
void RegisterPictureBoxClass(HINSTANCE instance);

void SetPictureBoxBackColour(HWND box, COLORREF colour);
COLORREF GetPictureBoxBackColour(HWND box);

// The box keeps its own copy of the bytes; "" removes the picture.
void SetPictureBoxPicture(HWND box, const std::string& bytes);
const std::string& GetPictureBoxPicture(HWND box);

// Stretched over the whole client area (the default) or centred at its own size.
void SetPictureBoxCentred(HWND box, bool centred);

// Size of the decoded picture; false when there is none or it did not decode.
bool GetPictureBoxImageSize(HWND box, SIZE* size);
