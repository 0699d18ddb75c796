#include "tests/wine/programs_folder.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "common/gbk.h"
#include "common/scoped_win.h"
#include "common/win_text.h"

bool MakeLink(const std::string& path, const std::string& target, const std::string& description) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.outVoid())) &&
         SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetDescription(description.c_str())) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.outVoid())) &&
         SUCCEEDED(file->Save(ToWide(path).c_str(), TRUE));
}

bool ReadLink(const std::string& path, LinkProperties* out) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.outVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid())) ||
      FAILED(file->Load(ToWide(path).c_str(), STGM_READ)))
    return false;
  char text[1024];
  int index = 0;
  *out = LinkProperties();
  text[0] = '\0';
  link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
  out->target = text;
  text[0] = '\0';
  link->GetWorkingDirectory(text, sizeof text);
  out->workingFolder = text;
  text[0] = '\0';
  link->GetIconLocation(text, sizeof text, &index);
  out->iconLocation = text;
  text[0] = '\0';
  link->GetDescription(text, sizeof text);
  out->description = text;
  text[0] = '\0';
  link->GetArguments(text, sizeof text);
  out->arguments = text;
  link->GetHotkey(&out->hotkey);
  // ShellLinkHeader: ShowCommand is the 32-bit value at offset 60.
  std::string bytes;
  if (ReadFileBytes(path, &bytes) && bytes.size() >= 64) memcpy(&out->showCommand, bytes.data() + 60, 4);
  return true;
}

ProgramsShortcuts::ProgramsShortcuts() {
  char buffer[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAMS, TRUE);
  folder_ = buffer;
  if (!folder_.empty() && gbk::FindLast(folder_, '\\') != folder_.size() - 1) folder_ += '\\';
}

ProgramsShortcuts::~ProgramsShortcuts() {
  for (const std::string& path : owned_) DeleteFileA(path.c_str());
  for (const std::string& path : subfolders_) RemoveDirectoryA(path.c_str());
}

std::string ProgramsShortcuts::Own(const std::string& name) {
  std::string path = folder_ + name + ".lnk";
  if (std::find(owned_.begin(), owned_.end(), path) != owned_.end()) return path;
  size_t slash = gbk::FindLast(name, '\\');
  if (slash != std::string::npos) {
    std::string sub = folder_ + name.substr(0, slash);
    CreateDirectoryA(sub.c_str(), nullptr);
    subfolders_.push_back(sub);
  }
  DeleteFileA(path.c_str());
  owned_.push_back(path);
  return path;
}

std::string ProgramsShortcuts::Make(const std::string& name, const std::string& target,
                                    const std::string& description) {
  std::string path = Own(name);
  MakeLink(path, target, description);
  return path;
}

std::vector<std::string> ProgramsShortcuts::Files() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW(ToWide(folder_ + "*").c_str(), &found));
  if (!find.valid()) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(FromWide(found.cFileName));
  } while (FindNextFileW(find.get(), &found));
  std::sort(names.begin(), names.end());
  return names;
}
