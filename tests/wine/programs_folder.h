// Shortcut files for tests: writing and reading them with the shell-link object, and the
// prefix's real Start-menu Programs folder, which the tests share. A ProgramsFolder
// fixture removes the shortcuts it names (also leftovers of an earlier run under the same
// names) and leaves every other file of the folder alone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct LinkProperties {
  std::string target, workingFolder, iconLocation, description, arguments;
  WORD hotkey = 0xFFFF;
  DWORD showCommand = 0;  // read from the file: Wine's GetShowCmd differs after Load
};

// Writes a shortcut to `target` (which need not exist); false on failure.
bool MakeLink(const std::string& path, const std::string& target, const std::string& description = std::string());
// Reads a shortcut back; false when it cannot be loaded.
bool ReadLink(const std::string& path, LinkProperties* link);

class ProgramsShortcuts {
 public:
  ProgramsShortcuts();
  ~ProgramsShortcuts();
  ProgramsShortcuts(const ProgramsShortcuts&) = delete;
  ProgramsShortcuts& operator=(const ProgramsShortcuts&) = delete;

  // The folder, with a trailing backslash, as SHGetSpecialFolderPathA(CSIDL_PROGRAMS) gives it.
  const std::string& Folder() const { return folder_; }
  // Folder + name + ".lnk", removed now (unless already owned) and when the fixture goes; `name` may hold one
  // subfolder ("sub\\name"), which is made now and removed at the end when empty.
  std::string Own(const std::string& name);
  // Owns folder + name + ".lnk" and writes it as a shortcut to `target`.
  std::string Make(const std::string& name, const std::string& target, const std::string& description = std::string());
  // The names of the files now in the folder (top level only).
  std::vector<std::string> Files() const;

 private:
  std::string folder_;
  std::vector<std::string> owned_, subfolders_;
};
