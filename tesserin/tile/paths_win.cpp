#include <windows.h>
#include <shlobj.h>

#include "common/gbk.h"
#include "tesserin/tile/paths.h"

std::string ProgramsFolder() {
  char buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAMS, FALSE)) return std::string();
  std::string folder = buffer;
  if (folder.empty() || gbk::FindLast(folder, '\\') != folder.size() - 1) folder += '\\';
  return folder;
}
