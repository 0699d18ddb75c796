// config.ini beside the program, and the Explorer context-menu verb.
#pragma once

void LoadSettings();
void SaveDefaultColour();
void SaveSmartColourOption();
void SaveUpdateOption();
void SaveCheckBoxSettings();

bool IsVerbRegistered();
void OnContextMenuCheckBoxClicked();
