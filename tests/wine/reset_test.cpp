// The reset command on the real hidden window: the question, the manifest's deletion and
// the shortcut written afresh.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/scoped_win.h"
#include "common/win_text.h"
#include "tesserin/tile/tile.h"
#include "tesserin/ui/main_window_win.h"
#include "tesserin/ui/startup.h"
#include "tests/wine/programs_folder.h"
#include "tests/wine/support.h"
#include "tests/wine/window_fixture.h"

namespace {

const char* const kQuestion =
    "初始化将删除磁贴配置文件，是否删除？\r\n删除不影响应用程序使用，背景图片及图标文件不会被删除";
const char* const kDeleteFailed =
    "删除文件失败！可能是因为目标文件位于 [C盘] 敏感目录，请 [以管理员身份运行] 本软件后再初始化磁贴（或手动删除）！\r\n";
const char* const kManifest =
    "\xEF\xBB\xBF<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><VisualElements "
    "ShowNameOnSquare150x150Logo=\"on\" ForegroundText=\"dark\" BackgroundColor=\"#FF0000\" /></Application>";

class ResetCommand : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    program = temp / "磁贴重置.exe";
    manifest = temp / "磁贴重置.VisualElementsManifest.xml";
    WriteFileBytes(program, "MZ");
    WriteFileBytes(manifest, kManifest);
    lnk = programs.Make("磁贴重置开始", program, "old");
    ASSERT_TRUE(LoadTarget(program));
    ASSERT_EQ(LoadedTile.ShortcutPath, lnk);
    ASSERT_EQ(LoadedTile.ManifestPath, manifest);
    shown.clear();
  }
  static std::string DescriptionOf(const std::string& path) {
    LinkProperties link;
    return ReadLink(path, &link) ? link.description : "(unreadable)";
  }

  TempFolder temp;
  ProgramsShortcuts programs;
  std::string program, manifest, lnk;
};

TEST_F(ResetCommand, AsksAndOnYesDeletesTheManifestAndRenewsTheShortcut) {
  for (int answer : {IDNO, IDCANCEL, IDYES}) {
    SCOPED_TRACE(answer);
    shown.clear();
    answers = {answer};
    ResetTile();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].text, kQuestion);
    EXPECT_EQ(shown[0].caption, "询问");
    EXPECT_EQ(shown[0].flags, unsigned(MB_YESNO | MB_TASKMODAL));
    EXPECT_EQ(shown.size(), 1u) << (shown.size() > 1 ? shown[1].text : "");
    const bool yes = answer == IDYES;
    EXPECT_EQ(FileExists(manifest), !yes);
    EXPECT_EQ(DescriptionOf(lnk), yes ? "" : "old") << "the shortcut is written afresh after Yes only";
    EXPECT_EQ(GetText("编辑框_程序路径"), program);
  }
}

TEST_F(ResetCommand, WithoutManifestOrProgramNothingHappens) {
  struct Row {
    const char* what;
    bool manifest, program;
  } rows[] = {{"no manifest", false, true}, {"no program", true, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (!row.manifest) DeleteFileA(manifest.c_str());
    else WriteFileBytes(manifest, kManifest);
    SetText("编辑框_程序路径", row.program ? program : "");
    answers = {IDYES};
    ResetTile();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(FileExists(manifest), row.manifest);
    EXPECT_EQ(DescriptionOf(lnk), "old");
  }
}

TEST_F(ResetCommand, ManifestThatCannotBeDeletedIsNamed) {
  UniqueFileHandle held(CreateFileA(manifest.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.valid());
  answers = {IDYES};
  ResetTile();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, kDeleteFailed + manifest);
  EXPECT_EQ(shown[1].caption, ErrorCaption);
  EXPECT_EQ(shown[1].flags, unsigned(MB_OK | MB_TASKMODAL));
  EXPECT_TRUE(FileExists(manifest));
  EXPECT_EQ(DescriptionOf(lnk), "old");
}

}  // namespace
