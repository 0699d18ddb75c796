#include "linktile/linktile.h"

#include <vector>

#include "common/gbk.h"

namespace linktile {

// The program's own file name with every ".exe" taken out, wherever it stands and only in
// that exact case: News.exe gives News, a.exe.b.exe gives a.b, and News.EXE stays News.EXE
// (so that copy reads News.EXE.ini).
std::string LauncherName(const std::string& ownFileName) { return gbk::ReplaceAll(ownFileName, ".exe", ""); }

// <run folder>\<launcher name>.ini. The run folder is the program's own folder without a
// trailing backslash, never the current folder: a tile or shortcut may start the copy
// from anywhere.
std::string SettingsPath(const std::string& runFolder, const std::string& ownFileName) {
  return runFolder + "\\" + LauncherName(ownFileName) + ".ini";
}

// The .url path set-up works on: the first argument after the program's own name, split
// the way Tesserin splits its command line. "" (no argument, or an empty quoted one such
// as `News.exe ""`) means launch. Arguments after the first are ignored, and the path is
// kept exactly as passed, relative or not.
std::string SetUpArgument(const std::string& commandLine) {
  std::vector<std::string> args = gbk::ArgumentsAfterProgramName(commandLine);
  return args.empty() ? std::string() : args.front();
}

// Set-up takes only files whose file-type text is exactly "url": lower case, from the
// file-name part (C:\my.url\site has none), so a shortcut saved as X.URL is refused.
bool IsShortcutFile(const std::string& path) { return gbk::FileTypeText(path) == "url"; }

}  // namespace linktile
