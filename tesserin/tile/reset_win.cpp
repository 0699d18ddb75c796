// The two commands beside the program path: back to the default tile, and the program's
// folder in Explorer.
#include <windows.h>

#include "common/message_box.h"
#include "common/process.h"
#include "common/win_text.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"

void ResetTile() {
  const std::string program = GetText("编辑框_程序路径");
  if (program.empty() || !FileExists(LoadedTile.ManifestPath)) return;
  if (ShowMessage(ToDisplayText("初始化将删除磁贴配置文件，是否删除？\r\n删除不影响应用程序使用，背景图片及图标文件不会被删除"),
                  ToDisplayText("询问"), MB_YESNO) != IDYES)
    return;
  if (!DeleteFileA(LoadedTile.ManifestPath.c_str())) {
    ShowMessage(ToDisplayText("删除文件失败！可能是因为目标文件位于 [C盘] 敏感目录，请 [以管理员身份运行] "
                              "本软件后再初始化磁贴（或手动删除）！\r\n" +
                              LoadedTile.ManifestPath),
                ErrorCaption, MB_OK);
    return;
  }
  // Reload with the default tile, then write the shortcut afresh so that Windows redraws
  // the tile without a manifest.
  LoadTarget(program, true, true);
}

void OpenProgramFolder() {
  const std::string program = GetText("编辑框_程序路径");
  if (program.empty()) return;
  // Explorer takes everything after "/select," as the path, spaces included: no quotes.
  StartAndLeaveRunning("Explorer /select," + program, SW_SHOWNORMAL);  // a failure to start is ignored
}
