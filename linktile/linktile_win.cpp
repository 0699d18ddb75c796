#include "linktile/linktile_win.h"

#include <windows.h>
#include <shellapi.h>

#include "common/message_box.h"
#include "common/scoped_win.h"
#include "common/win_text.h"
#include "linktile/linktile.h"

namespace linktile {
namespace {

const char kSection[] = "InternetShortcut";
const char kInfoCaption[] = "信息：";
const char kErrorCaption[] = "错误：";
const char kSuccessText[] =
    "写出配置文件成功！\r\n注意：配置文件名(XXX.ini)与本软件名(XXX.exe)必须一致，才能正常读取运行！";
const char kWriteFailedText[] =
    "写出配置文件失败，请手动制作配置文件！\r\n"
    "记事本打开 .url 快捷方式后，复制内容到 新建文本文件.txt(自己新建)，并重命名为 XXX.ini 即可。\r\n"
    "注意：XXX.ini 中的 XXX 要和本软件文件名一致(不包含.exe)！";
const char kShortcutErrorText[] = "快捷方式(.url)读取错误或内容有误！请检查。";
const char kMissingSettingsText[] = "未找到配置文件！请检查。\r\n";

// linktile shows its texts as they are, without conversion for the display.
void ShowError(const std::string& text) { ShowMessage(text, kErrorCaption, MB_OK | MB_ICONERROR); }

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The settings file as set-up found it, so that a failed write can put it back.
struct SettingsBackup {
  bool existed = false;  // a file of that name was there
  bool saved = false;    // its bytes are in `bytes` (trivially so when there was none)
  std::string bytes;
};

SettingsBackup BackUpSettings(const std::string& path) {
  SettingsBackup backup;
  backup.existed = IsFile(path);
  backup.saved = !backup.existed || ReadFileBytes(path, &backup.bytes);
  return backup;
}

bool OverwriteFile(const std::string& path, const std::string& bytes) {
  // OPEN_ALWAYS plus SetEndOfFile keeps the file's attributes, unlike CREATE_ALWAYS.
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
  if (!file.valid()) return false;
  DWORD done = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size()))
    return false;
  return SetEndOfFile(file.get()) != FALSE;
}

// Puts the settings file back as it was before set-up. The profile writer rewrites the
// whole file, so a failed write may have emptied it, and a failure after "URL" went in
// leaves the new link beside the old icon. A file whose bytes could not be read first is
// left alone: without them, anything done here could only lose more.
void RestoreSettings(const std::string& path, const SettingsBackup& backup) {
  if (!backup.saved) return;
  if (!backup.existed) {
    if (IsFile(path)) DeleteFileA(path.c_str());
    return;
  }
  std::string now;
  if (ReadFileBytes(path, &now) && now == backup.bytes) return;
  OverwriteFile(path, backup.bytes);
}

}  // namespace

// A .url file as Windows saves it (CRLF; other tools write LF only and often no IconFile
// or property section):
//
//   [{000214A0-0000-0000-C000-000000000046}]
//   Prop3=19,11
//   [InternetShortcut]
//   IDList=
//   URL=https://news.example.com/
//   IconIndex=13
//   HotKey=0
//   IconFile=C:\Windows\System32\SHELL32.dll
//
// Set-up copies "URL" and "IconFile" into the settings file, which then reads
//
//   [InternetShortcut]
//   URL=https://news.example.com/
//   IconFile=C:\Windows\System32\SHELL32.dll
//
// The profile functions match section and key names in any letter case and give a value
// of at most 10 239 bytes (ReadProfileText's buffer). They write keys in place, so other
// keys and sections of an existing settings file stay, and so does its "IconFile" when the
// .url file has none. A user may also make the settings file by copying a .url file's
// text; the write-failure box tells them to.
//
// Either write failing puts the settings file back as it was and shows the write-failure
// box: a failed "IconFile" after a good "URL" would otherwise report success over a file
// holding the new link with the old icon.
void SetUpFromShortcut(const std::string& shortcutPath, const std::string& settingsPath, ProfileWriter write) {
  if (!IsShortcutFile(shortcutPath)) {
    ShowError(kShortcutErrorText);
    return;
  }
  std::string link = ReadProfileText(shortcutPath, kSection, "URL");
  std::string icon = ReadProfileText(shortcutPath, kSection, "IconFile");
  if (link.empty()) {  // also a missing or unreadable file, or one without the section
    ShowError(kShortcutErrorText);
    return;
  }
  SettingsBackup backup = BackUpSettings(settingsPath);
  bool written = write(settingsPath, kSection, "URL", link) &&
                 (icon.empty() || write(settingsPath, kSection, "IconFile", icon));
  if (!written) {
    RestoreSettings(settingsPath, backup);
    ShowError(kWriteFailedText);
    return;
  }
  ShowMessage(kSuccessText, kInfoCaption, MB_OK | MB_ICONINFORMATION);
}

// Reads only "URL" back (see the samples above SetUpFromShortcut); "IconFile" is there for
// the user's own shortcuts. A settings file without a link opens nothing and says nothing.
// Any directory entry of that name counts as there, a folder too; a folder has no link,
// so nothing happens then.
void LaunchLink(const std::string& settingsPath) {
  if (!FileExists(settingsPath)) {
    ShowError(kMissingSettingsText + settingsPath);
    return;
  }
  std::string link = ReadProfileText(settingsPath, kSection, "URL");
  if (link.empty()) return;
  // The shell hands the link to the program registered for its scheme; whether it could
  // is not reported to the user.
  ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void RunLinktile(const std::string& commandLine, const std::string& runFolder, const std::string& ownFileName) {
  std::string settingsPath = SettingsPath(runFolder, ownFileName);
  std::string shortcutPath = SetUpArgument(commandLine);
  if (shortcutPath.empty()) LaunchLink(settingsPath);
  else SetUpFromShortcut(shortcutPath, settingsPath);
}

}  // namespace linktile
