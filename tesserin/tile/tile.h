// Tile configuration: the tile's settings, its manifest in both directions, choosing the
// program, its Start-menu shortcut and pinning, reset and open folder.
#pragma once

#include <string>
#include <vector>

// PathWithoutExtension, BaseNameWithoutExtension, FolderOfPath, ProgramsFolder, TrimTrailingSpaces
#include "tesserin/tile/paths.h"

// The values the window edits for one tile, read from the controls when an operation runs.
struct TileSettings {
  std::string ProgramPath;     // 编辑框_程序路径
  std::string TileName;        // 编辑框_文件名称
  bool HideName = false;       // 选择框_不显示文字
  bool LightText = false;      // 单选框_文字颜色_白色 selected
  std::string ColourText;      // 编辑框_背景颜色
  std::string LargeImagePath;  // 编辑框_大图背景
  std::string SmallImagePath;  // 编辑框_小图背景
  std::string IconPath;        // 编辑框_图标位置
};
TileSettings ReadTileSettings();

// What the last load of a program found; overwritten by every load.
struct LoadedTileRecord {
  std::string ManifestPath;
  std::string PreviousLargeImage;
  std::string PreviousSmallImage;
  std::string ShortcutName;
  std::string ShortcutPath;
};
extern LoadedTileRecord LoadedTile;

// --- manifest writer and the add/update command
void AddOrUpdateTile();
void FinishTileUpdate(bool skipManifest);
bool WriteTileManifest();

// --- manifest reader
void ReadTileManifest();
void ResetTileFields();

// --- choosing the program
// Loads a program (.exe) or shortcut (.lnk) into the window; false only when a
// shortcut's target does not exist.
bool LoadTarget(std::string path, bool followUp = false, bool skipManifest = false);
std::string ReadShortcutTarget(const std::string& lnkPath);
std::vector<std::string> ListFiles(std::string folder, const std::string& pattern);
void PumpMessages();

// --- shortcut and pinning
bool UpdateStartMenuShortcut();
bool WriteShortcut(const std::string& lnkPath, const std::string& targetPath, const std::string& iconLocation);
bool PinToStart(const std::string& programPath);
// The command that runs the pinning tool in `runFolder` for a program.
std::string PinCommandLine(const std::string& runFolder, const std::string& programPath);
// Ends the program when the pinning tool is missing beside it.
void CheckPinTool();
void WaitAndRenameShortcut(const std::string& oldPath, const std::string& newPath);

// --- reset and open folder
void ResetTile();
void OpenProgramFolder();
