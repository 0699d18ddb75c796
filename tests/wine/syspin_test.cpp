// The pinning tool stand-in, run as Tesserin runs it (through cmd) and directly.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win_text.h"
#include "tests/wine/programs_folder.h"
#include "tests/wine/support.h"

namespace {

TEST(Syspin, MakesTheProgramsShortcutForThePinCommandOnly) {
  TempFolder temp;
  CreateDirectoryA((temp / "程序 目录").c_str(), nullptr);
  const std::string program = temp / "程序 目录\\磁贴钉住.exe";
  ASSERT_TRUE(WriteFileBytes(program, "MZ"));
  const std::string quoted = "\"" + program + "\"";
  struct Row {
    std::string arguments;
    const char* existing;  // target of a shortcut already there; nullptr for none
    bool made;
  } rows[] = {
      {quoted + " 51201", nullptr, true},
      {quoted + " 51201", "C:\\windows\\notepad.exe", true},  // renewed
      {quoted + " 5386", nullptr, false},
      {quoted, nullptr, false},
      {quoted + " 51201 more", nullptr, false},
      {"", nullptr, false},
      {"\"" + (temp / "程序 目录\\没有.exe") + "\" 51201", nullptr, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments + (row.existing ? " (renew)" : ""));
    ProgramsShortcuts programs;
    const std::string lnk = programs.Own("磁贴钉住");
    if (row.existing) {
      ASSERT_TRUE(MakeLink(lnk, row.existing, "old"));
    }
    const std::vector<std::string> before = programs.Files();
    Child tool;
    ASSERT_TRUE(Start("\"" + BinFolder() + "\\syspin.dll\" " + row.arguments, &tool));
    EXPECT_EQ(tool.WaitExit(20000), 0u);
    LinkProperties link;
    if (row.made) {
      ASSERT_TRUE(ReadLink(lnk, &link));
      EXPECT_EQ(link.target, program);
      EXPECT_EQ(link.workingFolder, temp / "程序 目录\\");
      EXPECT_EQ(link.description, "");
    } else {
      EXPECT_EQ(programs.Files(), before) << "nothing made, nothing changed";
    }
  }
}

}  // namespace
