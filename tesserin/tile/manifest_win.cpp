// The add/update command, the manifest file and the tile fields of the window.
#include <windows.h>

#include "common/message_box.h"
#include "common/win_text.h"
#include "tesserin/tile/manifest.h"
#include "tesserin/tile/paths.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/colour.h"
#include "tesserin/ui/control_names.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/preview.h"
#include "tesserin/ui/startup.h"

LoadedTileRecord LoadedTile;

namespace {

const char* const kManifestSuffix = ".VisualElementsManifest.xml";
const char* const kTempSuffix = ".tmp";

// Between two code pages through UTF-16. Both directions name code page 936 rather than
// the system's: the manifest is GBK inside the program whatever the system, and GBK
// (unlike GB2312) holds every character a GBK file name can have. Invalid bytes and
// characters the target lacks fail the conversion instead of turning into "?".
bool Convert(const std::string& in, UINT from, UINT to, std::string* out) {
  out->clear();
  if (in.empty()) return true;
  const int inSize = static_cast<int>(in.size());
  int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), inSize, nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), inSize, &wide[0], n);
  // UTF-8 takes no default character; it refuses lone surrogates instead.
  BOOL usedDefault = FALSE;
  const DWORD flags = to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL* used = to == CP_UTF8 ? nullptr : &usedDefault;
  int m = WideCharToMultiByte(to, flags, wide.data(), n, nullptr, 0, nullptr, used);
  if (m <= 0 || usedDefault) return false;
  out->assign(static_cast<size_t>(m), '\0');
  WideCharToMultiByte(to, flags, wide.data(), n, &(*out)[0], m, nullptr, nullptr);
  return true;
}
bool GbkToUtf8(const std::string& in, std::string* out) { return Convert(in, 936, CP_UTF8, out); }
bool Utf8ToGbk(const std::string& in, std::string* out) { return Convert(in, CP_UTF8, 936, out); }

// Shows the first of the three required fields that is empty; false when one is.
bool CheckTileFields(const TileSettings& s) {
  const char* missing = s.ProgramPath.empty() ? "程序路径不能为空！"
                        : s.TileName.empty()  ? "文件名称不能为空！"
                        : s.ColourText.empty() ? "背景颜色不能为空！"
                                               : nullptr;
  if (!missing) return true;
  ShowMessage(ToDisplayText(missing), ErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}

int g_failAtStep = 0;

// Counts the file steps of one manifest write; a test can make one of them fail.
class FileSteps {
 public:
  bool Next() { return ++count_ != g_failAtStep; }

 private:
  int count_ = 0;
};

// Puts `bytes` in place of the file `path` so that the old file is never lost and never
// replaced by a part of the new one. The order:
//   1. write the whole new text to path + ".tmp" (created afresh, no sharing);
//   2. flush and close it, checking each result;
//   3. MoveFileEx with MOVEFILE_REPLACE_EXISTING swaps it for the old file in one step.
// Deleting the old manifest first and then writing would leave nothing behind when the
// write fails. The swap refuses just where that deletion would have been refused (a
// read-only manifest, one another program holds open, a protected folder), and then the
// old file stays untouched. Any failure removes the temporary file again.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
  // Windows refuses to delete or to replace a read-only file; Wine's MoveFileEx replaces
  // it all the same, so the attribute is looked at first.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::string temp = path + kTempSuffix;
  FileSteps steps;
  if (!steps.Next()) return false;
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = static_cast<DWORD>(bytes.size());
  DWORD written = 0;
  bool ok;
  if (steps.Next()) {
    ok = WriteFile(file, bytes.data(), size, &written, nullptr) && written == size;
  } else {
    WriteFile(file, bytes.data(), size / 2, &written, nullptr);  // a write that stops half way
    ok = false;
  }
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  ok = ok && steps.Next();
  ok = ok && steps.Next() && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

// Shows a picture the manifest names in its field and preview box, when the file exists.
void LoadManifestPicture(const std::string& path, const char* box, const char* preview, std::string* previous) {
  if (!FileExists(path)) return;
  SetText(box, path);
  *previous = GetText(box);
  std::string bytes;
  SetPicture(preview, ReadFileBytes(path, &bytes) ? bytes : std::string());
}

}  // namespace

void FailManifestWriteStep(int step) { g_failAtStep = step; }

TileSettings ReadTileSettings() {
  TileSettings s;
  s.ProgramPath = GetText(kProgramBox);
  s.TileName = GetText(kNameBox);
  s.HideName = IsChecked(kHideNameBox);
  s.LightText = IsChecked(kWhiteRadio);
  s.ColourText = GetText(kColourBox);
  s.LargeImagePath = GetText(kLargeBox);
  s.SmallImagePath = GetText(kSmallBox);
  s.IconPath = GetText(kIconBox);
  return s;
}

void AddOrUpdateTile() {
  // The fields are checked before the shortcut step too: with an empty name that step
  // would delete the program's shortcut and write one called ".lnk" instead.
  if (!CheckTileFields(ReadTileSettings())) return;
  if (UpdateStartMenuShortcut()) FinishTileUpdate(false);
}

void FinishTileUpdate(bool skipManifest) {
  if (skipManifest || WriteTileManifest()) {
    LoadTarget(ProgramsFolder() + GetText(kNameBox) + ".lnk");
  } else {
    ShowMessage(ToDisplayText("添加磁贴成功，但磁贴配置文件写入失败！\r\n可能是因为目标文件位于 [C盘] "
                              "敏感目录，请 [以管理员身份运行] 本软件后再修改磁贴配置信息！\r\n\r\n配置文件路径：\r\n" +
                              LoadedTile.ManifestPath +
                              "\r\n\r\n注意：因微软系统限制，所以 [以管理员身份运行] "
                              "时本软件会无法添加磁贴(但可以修改磁贴)，请悉知！"),
                ErrorCaption, MB_OK);
  }
  SetEnabled(kAddButton, true);
}

bool WriteTileManifest() {
  SetEnabled(kAddButton, false);  // FinishTileUpdate enables it again
  const TileSettings s = ReadTileSettings();
  if (!CheckTileFields(s)) return false;

  const std::string& manifestPath = LoadedTile.ManifestPath;
  const PicturePlan pictures = PlanPictures(s.ProgramPath, s.LargeImagePath, s.SmallImagePath,
                                            LoadedTile.PreviousLargeImage, LoadedTile.PreviousSmallImage);
  ManifestValues values;
  values.HideName = s.HideName;
  values.LightText = s.LightText;
  values.ColourText = s.ColourText;
  values.LargeLogo = pictures.LargeLogo;
  values.SmallLogo = pictures.SmallLogo;
  values.IconPath = s.IconPath;
  const std::string bytes = EncodeManifestFile(BuildManifestText(values), GbkToUtf8);
  // Everything that can refuse without touching a file is decided first.
  if (bytes.empty() || manifestPath.empty() || !FitsMaxPath(manifestPath + kTempSuffix)) return false;

  // Copies and deletions of pictures are not checked: a picture that fails to copy
  // still has its name in the manifest.
  for (const PictureStep& step : pictures.Steps) {
    if (step.from.empty()) DeleteFileA(step.to.c_str());
    else CopyFileA(step.from.c_str(), step.to.c_str(), FALSE);
  }
  if (!ReplaceFileBytes(manifestPath, bytes)) return false;
  // The pictures of the previous manifest go only now, so a failed write leaves that
  // manifest with every file it names.
  for (const std::string& old : pictures.Obsolete) DeleteFileA(old.c_str());
  Sleep(100);
  return FileExists(manifestPath);
}

void ResetTileFields() {
  LoadedTile.ManifestPath = PathWithoutExtension(GetText(kProgramBox)) + kManifestSuffix;
  SetText(kSmallBox, "");
  SetText(kLargeBox, "");
  SetText(kIconBox, "");
  SetText(kColourBox, DefaultBackColour);  // its changed handler applies the colour
  SetChecked(kHideNameBox, false);
  UpdateNameVisibility();
  SetChecked(kWhiteRadio, true);
  SelectWhiteText();
  SetVisible("图片框_效果图标", true);
  SetVisible("图片框_效果图标_小", true);
  SetPicture(kLargePreview, "");
  SetPicture(kSmallPreview, "");
  LoadedTile.PreviousLargeImage.clear();
  LoadedTile.PreviousSmallImage.clear();
}

void ReadTileManifest() {
  ResetTileFields();
  if (!FileExists(LoadedTile.ManifestPath)) return;
  std::string bytes;
  if (!ReadFileBytes(LoadedTile.ManifestPath, &bytes)) return;
  const ManifestReading m = ParseManifestText(DecodeManifestFile(bytes, Utf8ToGbk));

  // Applied in this order whatever the order in the file: the colour's changed handler
  // may choose the text colour, which a ForegroundText value then overrides.
  if (!m.ShowName.empty()) {
    SetChecked(kHideNameBox, m.ShowName != "on");
    UpdateNameVisibility();
  }
  if (!m.Background.empty()) {
    SetText(kColourBox, m.Background);
    ApplyBackgroundColour(true);
  }
  if (!m.Foreground.empty()) {
    if (m.Foreground == "light") {
      SetChecked(kWhiteRadio, true);
      SelectWhiteText();
    } else {
      SetChecked(kBlackRadio, true);
      SelectBlackText();
    }
  }
  // Pictures are named relative to the program's folder, the icon by its full path.
  const std::string folder = FolderOfPath(GetText(kProgramBox));
  if (!m.LargeLogo.empty())
    LoadManifestPicture(ToDisplayText(folder + m.LargeLogo), kLargeBox, kLargePreview, &LoadedTile.PreviousLargeImage);
  if (!m.SmallLogo.empty())
    LoadManifestPicture(ToDisplayText(folder + m.SmallLogo), kSmallBox, kSmallPreview, &LoadedTile.PreviousSmallImage);
  if (!m.Icon.empty()) {
    const std::string icon = ToDisplayText(m.Icon);
    if (FileExists(icon)) {
      SetText(kIconBox, icon);
      LoadPreviewIcon(icon);
    }
  }
}
