#include "tesserin/ui/preview.h"

void ShowPreviewName() {}
void UpdateNameVisibility() {}
void UpdateClearButton(const std::string&) {}
void ClearBackgroundField(const std::string&) {}
void ClearIconField() {}
void DropOnBackground(std::string, bool) {}
void ImportIcon(std::string) {}
void LoadPreviewIcon(const std::string&) {}
void RefreshPreviewIcon(unsigned long) {}
