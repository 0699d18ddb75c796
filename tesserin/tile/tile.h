// Tile configuration: choosing the program, writing its tile, its shortcut, reset.
#pragma once

#include <string>

// Loads a program (.exe) or shortcut (.lnk) into the window; false only when a
// shortcut's target does not exist.
bool LoadTarget(std::string path, bool followUp = false, bool skipManifest = false);
// Click of the add/update button.
void AddOrUpdateTile();
// Removes the program's tile manifest after asking, then renews the shortcut.
void ResetTile();
// Opens the program's folder in Explorer with the program selected.
void OpenProgramFolder();
// Ends the program when the pinning tool is missing beside it.
void CheckPinTool();
