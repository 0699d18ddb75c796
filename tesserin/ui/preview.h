// Tile preview, background pictures and the icon.
#pragma once

#include <string>

void ShowPreviewName();
void UpdateNameVisibility();
// Enables a clear button while its field holds a path.
void UpdateClearButton(const std::string& fieldName);
void ClearBackgroundField(const std::string& buttonName);
void ClearIconField();
void DropOnBackground(std::string path, bool large);
void ImportIcon(std::string path);
void LoadPreviewIcon(const std::string& path);
void RefreshPreviewIcon(unsigned long backColour);
