// The manifest writer and reader on the real (hidden) main window: fields set through the
// controls, files in a fresh temp folder. Chinese literals are GBK bytes; "镕" is one
// GB2312 lacks.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/win_text.h"
#include "tesserin/tile/manifest.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/control_names.h"
#include "tesserin/ui/display_text.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tests/wine/support.h"
#include "tests/wine/window_fixture.h"

namespace {

const char* const kBom = "\xEF\xBB\xBF";

std::string WriteFailureText(const std::string& manifestPath) {
  return "添加磁贴成功，但磁贴配置文件写入失败！\r\n可能是因为目标文件位于 [C盘] 敏感目录，请 [以管理员身份运行] "
         "本软件后再修改磁贴配置信息！\r\n\r\n配置文件路径：\r\n" +
         manifestPath +
         "\r\n\r\n注意：因微软系统限制，所以 [以管理员身份运行] 时本软件会无法添加磁贴(但可以修改磁贴)，请悉知！";
}

std::string Utf8(const std::string& gbk) { return FromWide(ToWide(gbk, 936), CP_UTF8); }

// Names in a folder, "." and ".." left out.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return names;
}

class ManifestWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    FailManifestWriteStep(0);
    LoadedTile = LoadedTileRecord();
  }
  void TearDown() override {
    FailManifestWriteStep(0);
    WindowTest::TearDown();
  }

  // A folder of its own for one table row, with the program a.exe in it.
  std::string Folder(const std::string& name) {
    std::string folder = temp / name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
  }
  // A source picture outside the program's folder; its bytes name it.
  std::string Source(const std::string& name) {
    CreateDirectoryA((temp / "src").c_str(), nullptr);
    std::string path = temp / ("src\\" + name);
    WriteFileBytes(path, "picture " + name);
    return path;
  }
  // What choosing the program does to the tile fields: both boxes, then the reader.
  void Load(const std::string& program) {
    SetText(kProgramBox, program);
    SetText(kNameBox, "a");
    ReadTileManifest();
  }
  void SetLight(bool light) {
    SetChecked(kWhiteRadio, light);
    SetChecked(kBlackRadio, !light);
  }

  TempFolder temp;
};

TEST_F(ManifestWindow, ReadsBackWhatItWrote) {
  const struct {
    const char* folder;
    bool hide, light;
    const char* colour;
    const char *large, *small, *icon;  // names under src and in the program's folder
    const char *largeCopy, *smallCopy;
  } rows[] = {
      {"plain", false, true, "#0078D7", "", "", "", "", ""},
      {"镕R&D", true, false, "#ffffff", "大.png", "小.JPG", "镕.ico", "a150x150Logo.png", "a70x70Logo.JPG"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.folder);
    const std::string folder = Folder(r.folder), program = folder + "\\a.exe";
    const std::string manifest = folder + "\\a.VisualElementsManifest.xml";
    const std::string icon = *r.icon ? folder + "\\" + r.icon : "";
    if (*r.icon) WriteFileBytes(icon, "icon");
    Load(program);
    EXPECT_EQ(LoadedTile.ManifestPath, manifest);
    SetChecked(kHideNameBox, r.hide);
    SetLight(r.light);
    SetText(kColourBox, r.colour);
    SetText(kLargeBox, *r.large ? Source(r.large) : "");
    SetText(kSmallBox, *r.small ? Source(r.small) : "");
    SetText(kIconBox, icon);
    ASSERT_TRUE(WriteTileManifest());
    EXPECT_TRUE(shown.empty());

    const std::string bytes = ReadFileOrEmpty(manifest);
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ(bytes.compare(0, 3, kBom), 0);
    EXPECT_EQ(bytes.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 14), "</Application>");
    EXPECT_NE(bytes.find(Utf8(EscapeXmlAttribute(icon))), std::string::npos) << "the icon path as UTF-8";

    // Read the UTF-8 file and the same text saved as GBK without byte order mark.
    const std::string gbk = FromWide(ToWide(bytes.substr(3), CP_UTF8), 936);
    for (const std::string& file : {bytes, gbk}) {
      WriteFileBytes(manifest, file);
      SetChecked(kHideNameBox, !r.hide);
      SetLight(!r.light);
      SetText(kLargeBox, "x");
      Load(program);
      EXPECT_EQ(IsChecked(kHideNameBox), r.hide);
      EXPECT_TRUE(IsChecked(r.light ? kWhiteRadio : kBlackRadio));
      EXPECT_EQ(ReadTileSettings().LightText, r.light) << "saving again keeps the text colour";
      EXPECT_EQ(GetText(kColourBox), r.colour);
      const std::string large = *r.largeCopy ? folder + "\\" + r.largeCopy : "";
      const std::string small = *r.smallCopy ? folder + "\\" + r.smallCopy : "";
      EXPECT_EQ(GetText(kLargeBox), large);
      EXPECT_EQ(GetText(kSmallBox), small);
      EXPECT_EQ(LoadedTile.PreviousLargeImage, large);
      EXPECT_EQ(LoadedTile.PreviousSmallImage, small);
      EXPECT_EQ(GetPicture("图片框_效果背景"), *r.large ? "picture " + std::string(r.large) : "");
      EXPECT_EQ(GetPicture("图片框_效果背景_小"), *r.small ? "picture " + std::string(r.small) : "");
      EXPECT_EQ(GetText(kIconBox), icon);
    }
  }
}

TEST_F(ManifestWindow, ReadsOnlyWhatIsUsable) {
  const std::string folder = Folder("p"), program = folder + "\\a.exe";
  const std::string manifest = folder + "\\a.VisualElementsManifest.xml";
  WriteFileBytes(folder + "\\a70x70Logo.png", "small");
  WriteFileBytes(folder + "\\i.ico", "icon");
  const std::string head = "<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><VisualElements ";
  const struct {
    bool exists;
    std::string bytes;
    bool hide, light;
    const char* colour;  // nullptr: the default colour
    std::string small, icon;
  } rows[] = {
      {false, "", false, true, nullptr, "", ""},
      {true, "", false, true, nullptr, "", ""},
      {true, head + "ShowNameOnSquare150x150Logo=\"off\"\r\nForegroundText=\"dark\" BackgroundColor=\"#102030\" /></Application>",
       false, true, "#102030", "", ""},
      // "On" hides the name and "Light" means black: only "on" and "light" count as such.
      // A missing large picture is left out; the icon, last, is read.
      {true,
       head + "ShowNameOnSquare150x150Logo=\"On\" ForegroundText=\"Light\" BackgroundColor=\"#102030\" "
              "Square150x150Logo=\"missing.png\" Square70x70Logo=\"a70x70Logo.png\" Lnk32x32Logo=\"" +
           folder + "\\i.ico\" /></Application>",
       true, false, "#102030", folder + "\\a70x70Logo.png", folder + "\\i.ico"},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const auto& r = rows[i];
    SCOPED_TRACE("row " + std::to_string(i));
    DeleteFileA(manifest.c_str());
    if (r.exists) WriteFileBytes(manifest, r.bytes);
    // Everything away from its default first.
    SetText(kLargeBox, "x");
    SetText(kSmallBox, "y");
    SetText(kIconBox, "z");
    SetChecked(kHideNameBox, true);
    SetLight(false);
    SetPicture("图片框_效果背景", "p");
    SetPicture("图片框_效果背景_小", "p");
    SetVisible("图片框_效果图标", false);
    SetVisible("图片框_效果图标_小", false);
    LoadedTile.PreviousLargeImage = LoadedTile.PreviousSmallImage = "p";
    Load(program);
    EXPECT_EQ(LoadedTile.ManifestPath, manifest);
    EXPECT_EQ(IsChecked(kHideNameBox), r.hide);
    EXPECT_TRUE(IsChecked(r.light ? kWhiteRadio : kBlackRadio));
    EXPECT_EQ(GetText(kColourBox), r.colour ? r.colour : DefaultBackColour);
    EXPECT_EQ(GetText(kLargeBox), "");
    EXPECT_EQ(LoadedTile.PreviousLargeImage, "");
    EXPECT_EQ(GetPicture("图片框_效果背景"), "");
    EXPECT_EQ(GetText(kSmallBox), r.small);
    EXPECT_EQ(LoadedTile.PreviousSmallImage, r.small);
    EXPECT_EQ(GetPicture("图片框_效果背景_小"), r.small.empty() ? "" : "small");
    EXPECT_EQ(GetText(kIconBox), r.icon);
    EXPECT_TRUE(IsVisible("图片框_效果图标"));
    EXPECT_TRUE(IsVisible("图片框_效果图标_小"));
    EXPECT_TRUE(shown.empty());
  }
}

TEST_F(ManifestWindow, OnePictureServesBothSizes) {
  const struct {
    const char *large, *small;
    const char *largeCopy, *smallCopy;  // file names, case as written
    const char *largeFrom, *smallFrom;  // sources of their bytes
  } rows[] = {
      {"", "s.gif", "a150x150Logo.gif", "a70x70Logo.gif", "s.gif", "s.gif"},
      {"A.JPEG", "", "a150x150Logo.JPEG", "a70x70Logo.JPEG", "A.JPEG", "A.JPEG"},
      {"l.png", "s.jpg", "a150x150Logo.png", "a70x70Logo.jpg", "l.png", "s.jpg"},
  };
  int n = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.largeCopy);
    const std::string folder = Folder("row" + std::to_string(++n)), program = folder + "\\a.exe";
    Load(program);
    SetText(kLargeBox, *r.large ? Source(r.large) : "");
    SetText(kSmallBox, *r.small ? Source(r.small) : "");
    ASSERT_TRUE(WriteTileManifest());
    std::vector<std::string> expected = {"a.VisualElementsManifest.xml", r.largeCopy, r.smallCopy};
    std::vector<std::string> files = FilesIn(folder);
    std::sort(expected.begin(), expected.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected);
    EXPECT_EQ(ReadFileOrEmpty(folder + "\\" + r.largeCopy), "picture " + std::string(r.largeFrom));
    EXPECT_EQ(ReadFileOrEmpty(folder + "\\" + r.smallCopy), "picture " + std::string(r.smallFrom));
    EXPECT_NE(ReadFileOrEmpty(folder + "\\a.VisualElementsManifest.xml")
                  .find(std::string("Square150x150Logo=\"") + r.largeCopy + "\" Square70x70Logo=\"" + r.smallCopy + "\""),
              std::string::npos);
  }
}

TEST_F(ManifestWindow, NewPictureReplacesTheOldCopyUnlessItServedBothSizes) {
  // Row 1: the tile was saved by this program. Row 2: a manifest naming one file for both.
  for (bool shared : {false, true}) {
    SCOPED_TRACE(shared ? "shared" : "own copies");
    const std::string folder = Folder(shared ? "shared" : "own"), program = folder + "\\a.exe";
    const std::string old = folder + (shared ? "\\pic.png" : "\\a150x150Logo.png");
    Load(program);
    if (shared) {
      WriteFileBytes(old, "old");
      WriteFileBytes(folder + "\\a.VisualElementsManifest.xml",
                     std::string(kBom) + "<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                                         "<VisualElements ShowNameOnSquare150x150Logo=\"on\" ForegroundText=\"light\" "
                                         "BackgroundColor=\"#0078D7\" Square150x150Logo=\"pic.png\" "
                                         "Square70x70Logo=\"pic.png\" /></Application>");
    } else {
      SetText(kLargeBox, Source("l.png"));
      SetText(kSmallBox, Source("s.png"));
      ASSERT_TRUE(WriteTileManifest());
    }
    Load(program);
    ASSERT_EQ(LoadedTile.PreviousLargeImage, old);
    SetText(kLargeBox, Source("n.jpg"));
    if (shared) SetText(kSmallBox, "");
    ASSERT_TRUE(WriteTileManifest());
    EXPECT_EQ(FileExists(old), shared);
    EXPECT_EQ(ReadFileOrEmpty(folder + "\\a150x150Logo.jpg"), "picture n.jpg");
    if (!shared) {
      EXPECT_EQ(ReadFileOrEmpty(folder + "\\a70x70Logo.png"), "picture s.png");
    }
  }
}

TEST_F(ManifestWindow, UnchangedTileIsSavedWithoutTouchingItsPictures) {
  const std::string folder = Folder("p"), program = folder + "\\a.exe";
  Load(program);
  SetText(kLargeBox, Source("l.png"));
  SetText(kSmallBox, Source("s.png"));
  ASSERT_TRUE(WriteTileManifest());
  Load(program);
  WriteFileBytes(temp / "src\\l.png", "changed");  // a copy from the source would show
  const std::vector<std::string> before = FilesIn(folder);
  ASSERT_TRUE(WriteTileManifest());
  EXPECT_EQ(FilesIn(folder), before);
  EXPECT_EQ(ReadFileOrEmpty(folder + "\\a150x150Logo.png"), "picture l.png");
  EXPECT_EQ(ReadFileOrEmpty(folder + "\\a70x70Logo.png"), "picture s.png");
}

TEST_F(ManifestWindow, FailedWriteKeepsTheOldManifestAndItsPictures) {
  enum Fault { Step1 = 1, Step2, Step3, Step4, ReadOnly, HeldOpen };
  for (Fault fault : {Step1, Step2, Step3, Step4, ReadOnly, HeldOpen}) {
    SCOPED_TRACE("fault " + std::to_string(fault));
    const std::string folder = Folder("f" + std::to_string(fault)), program = folder + "\\a.exe";
    const std::string manifest = folder + "\\a.VisualElementsManifest.xml";
    Load(program);
    SetText(kColourBox, "#111111");
    SetText(kLargeBox, Source("l.png"));
    ASSERT_TRUE(WriteTileManifest());
    const std::string old = ReadFileOrEmpty(manifest);

    Load(program);
    SetText(kColourBox, "#222222");
    SetText(kLargeBox, Source("n.jpg"));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (fault <= Step4) FailManifestWriteStep(fault);
    if (fault == ReadOnly) SetFileAttributesA(manifest.c_str(), FILE_ATTRIBUTE_READONLY);
    if (fault == HeldOpen)
      held = CreateFileA(manifest.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    FinishTileUpdate(false);
    FailManifestWriteStep(0);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(manifest.c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, WriteFailureText(manifest));
    EXPECT_EQ(shown[0].caption, ErrorCaption);
    EXPECT_EQ(shown[0].flags, unsigned(MB_OK | MB_TASKMODAL));
    EXPECT_TRUE(IsEnabled(kAddButton));
    EXPECT_EQ(ReadFileOrEmpty(manifest), old);
    EXPECT_TRUE(FileExists(folder + "\\a150x150Logo.png")) << "the picture the old manifest names";
    EXPECT_FALSE(FileExists(manifest + ".tmp"));

    // Without the fault the same save goes through.
    shown.clear();
    ASSERT_TRUE(WriteTileManifest());
    EXPECT_NE(ReadFileOrEmpty(manifest).find("#222222"), std::string::npos);
    EXPECT_FALSE(FileExists(folder + "\\a150x150Logo.png"));
  }
}

TEST_F(ManifestWindow, LongPathFailsAsAWhole) {
  // The program's folder and base name fill the manifest's temporary path (manifest +
  // ".tmp") up to `length` characters. "中" rows use double-byte characters, so their
  // paths are longer in bytes (well over 260) than in characters. (Each name stays within
  // the 255 UTF-8 bytes a Linux file name can have under Wine.)
  const struct {
    const char* unit;
    size_t length;
    bool written;
  } rows[] = {{"a", 259, true}, {"a", 260, false}, {"a", 300, false}, {"中", 200, true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.unit) + " " + std::to_string(r.length));
    std::string folder = Folder(std::string(r.unit) + std::to_string(r.length)) + "\\";
    for (int i = 0; i < 60; ++i) folder += r.unit;
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\";
    const size_t fixed = ToWide(folder).size() + std::string(".VisualElementsManifest.xml.tmp").size();
    std::string base;
    for (size_t i = fixed; i < r.length; ++i) base += r.unit;
    const std::string program = folder + base + ".exe";
    Load(program);
    SetText(kLargeBox, Source("l.png"));
    shown.clear();
    EXPECT_EQ(WriteTileManifest(), r.written);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(FileExists(LoadedTile.ManifestPath), r.written);
    EXPECT_EQ(FilesIn(folder).size(), r.written ? 3u : 0u) << "the manifest and two picture copies, or nothing";
    if (r.written) {
      SetText(kLargeBox, "");
      Load(program);
      EXPECT_EQ(GetText(kLargeBox), folder + base + "150x150Logo.png");
    }
  }
}

TEST_F(ManifestWindow, EmptyFieldsAreRefusedBeforeAnyFileIsTouched) {
  const std::string folder = Folder("p"), program = folder + "\\a.exe";
  const std::string manifest = folder + "\\a.VisualElementsManifest.xml";
  const std::string shortcut = folder + "\\a.lnk";
  const struct {
    const char *program, *name, *colour, *message;
  } rows[] = {
      {"", "", "", "程序路径不能为空！"},
      {"x", "", "", "文件名称不能为空！"},
      {"x", "a", "", "背景颜色不能为空！"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.message);
    Load(program);
    WriteFileBytes(manifest, "old");
    WriteFileBytes(shortcut, "shortcut");
    LoadedTile.ShortcutName = "a";
    LoadedTile.ShortcutPath = shortcut;
    SetText(kProgramBox, *r.program ? program : "");
    SetText(kNameBox, r.name);
    SetText(kColourBox, r.colour);
    SetText(kLargeBox, Source("l.png"));

    // The command stops at the check, before the shortcut step.
    shown.clear();
    AddOrUpdateTile();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, r.message);
    EXPECT_EQ(shown[0].caption, ErrorCaption);
    EXPECT_EQ(shown[0].flags, unsigned(MB_OK | MB_ICONERROR | MB_TASKMODAL));
    EXPECT_EQ(ReadFileOrEmpty(shortcut), "shortcut");

    // The manifest step checks again and the write failure follows.
    shown.clear();
    FinishTileUpdate(false);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, r.message);
    EXPECT_EQ(shown[0].flags, unsigned(MB_OK | MB_ICONERROR | MB_TASKMODAL));
    EXPECT_EQ(shown[1].text, WriteFailureText(manifest));
    EXPECT_TRUE(IsEnabled(kAddButton));
    EXPECT_EQ(ReadFileOrEmpty(manifest), "old");
    EXPECT_EQ(FilesIn(folder).size(), 2u) << "no picture copied";
  }
}

// On a Traditional Chinese system the messages are shown in Big5, and the manifest is
// still converted from GBK, not from the system's code page.
using ManifestWindow_zhTW = ManifestWindow;
TEST_F(ManifestWindow_zhTW, MessagesForTheSystemManifestInGbk) {
  ASSERT_EQ(GetACP(), 950u);
  const std::string folder = Folder("p"), program = folder + "\\a.exe";
  Load(program);
  SetText(kIconBox, "C:\\镕\\i.ico");
  ASSERT_TRUE(WriteTileManifest());
  EXPECT_NE(ReadFileOrEmpty(LoadedTile.ManifestPath).find("C:\\\xE9\x95\x95\\i.ico"), std::string::npos);

  SetText(kColourBox, "");
  FinishTileUpdate(false);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, ToDisplayText("背景颜色不能为空！"));
  EXPECT_NE(shown[0].text, "背景颜色不能为空！");
  EXPECT_EQ(shown[1].text, ToDisplayText(WriteFailureText(LoadedTile.ManifestPath)));
  EXPECT_EQ(shown[1].caption, ErrorCaption);
}

}  // namespace
