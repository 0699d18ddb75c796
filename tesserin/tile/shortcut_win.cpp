#include <windows.h>

#include "common/message_box.h"
#include "common/win_text.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/startup.h"

bool UpdateStartMenuShortcut() { return false; }
bool WriteShortcut(const std::string&, const std::string&, const std::string&) { return false; }
bool PinToStart(const std::string&) { return false; }
void WaitAndRenameShortcut(const std::string&, const std::string&) {}

void CheckPinTool() {
  if (FileExists(RunFolder() + "\\syspin.dll")) return;
  ShowMessage(ToDisplayText("文件不完整，[syspin.dll]文件丢失！请检查或重新下载！"), ErrorCaption, MB_OK);
  EndProgram();
}
