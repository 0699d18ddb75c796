// The main window: created from the layout table; the operations of the program read
// and write its controls only through the accessors below, so a test can drive a
// real (hidden) window and every content-changed handler still runs.
#pragma once

#include <windows.h>

#include <string>

// Creates the main window; its created event runs the start-up handler to the end
// before this returns. `show` is false for tests.
HWND CreateMainWindow(HINSTANCE instance, bool show);
HWND MainWindow();

// A control by its name in the layout table; nullptr for an unknown name.
HWND Control(const std::string& name);
// The layout name of a control window ("" for none).
std::string ControlName(HWND control);

std::string GetText(const std::string& name);
void SetText(const std::string& name, const std::string& text);
bool IsChecked(const std::string& name);
void SetChecked(const std::string& name, bool checked);
bool IsEnabled(const std::string& name);
void SetEnabled(const std::string& name, bool enabled);
void SetVisible(const std::string& name, bool visible);
bool IsVisible(const std::string& name);
COLORREF GetBackColour(const std::string& name);
void SetBackColour(const std::string& name, COLORREF colour);
const std::string& GetPicture(const std::string& name);
void SetPicture(const std::string& name, const std::string& bytes);
// Text colour of the transparent label.
void SetTextColour(const std::string& name, COLORREF colour);
COLORREF GetTextColour(const std::string& name);

// Window title.
std::string GetTitle();
void SetTitle(const std::string& title);

// Mouse moved over an explanation label: attaches its help text as a tooltip.
void ShowHelpTip(const std::string& labelName);
// The tooltip window shared by the explanation labels (nullptr until first used).
HWND HelpTooltip();
