// Placeholders until the tile operations land.
#include "tesserin/tile/tile.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/win_text.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/startup.h"

LoadedTileRecord LoadedTile;

bool LoadTarget(std::string, bool, bool) { return true; }
void AddOrUpdateTile() {}
void ResetTile() {}
void OpenProgramFolder() {}

void CheckPinTool() {
  if (FileExists(RunFolder() + "\\syspin.dll")) return;
  ShowMessage(ToDisplayText("文件不完整，[syspin.dll]文件丢失！请检查或重新下载！"), ErrorCaption, MB_OK);
  EndProgram();
}
