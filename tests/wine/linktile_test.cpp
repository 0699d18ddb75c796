// linktile under Wine with real files: set-up from .url files into the settings file,
// launch through the shell, and a copy of linktile.exe run as a user would.
//
// Which link the shell opened is seen through url_recorder.exe (tests/tools), which the
// prefix's http and https "open" commands point at for the length of a test.
// Chinese literals here are GBK bytes (the sources are built with -fexec-charset=GBK).
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/message_box.h"
#include "common/profile.h"
#include "common/scoped_win.h"
#include "common/win_text.h"
#include "linktile/linktile_win.h"
#include "tests/wine/support.h"

namespace {

const char kInfo[] = "信息：";
const char kError[] = "错误：";
const char kSuccess[] =
    "写出配置文件成功！\r\n注意：配置文件名(XXX.ini)与本软件名(XXX.exe)必须一致，才能正常读取运行！";
const char kWriteFailed[] =
    "写出配置文件失败，请手动制作配置文件！\r\n"
    "记事本打开 .url 快捷方式后，复制内容到 新建文本文件.txt(自己新建)，并重命名为 XXX.ini 即可。\r\n"
    "注意：XXX.ini 中的 XXX 要和本软件文件名一致(不包含.exe)！";
const char kShortcutError[] = "快捷方式(.url)读取错误或内容有误！请检查。";
const char kMissingSettings[] = "未找到配置文件！请检查。\r\n";

const unsigned kErrorFlags = MB_OK | MB_ICONERROR | MB_TASKMODAL;
const unsigned kInfoFlags = MB_OK | MB_ICONINFORMATION | MB_TASKMODAL;

// A .url file as Windows saves it: CRLF, the property section first, IDList, IconIndex
// and HotKey around the two keys linktile takes.
std::string WindowsShortcut(const std::string& url, const std::string& icon) {
  return "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n[InternetShortcut]\r\nIDList=\r\nURL=" + url +
         "\r\nIconIndex=13\r\nHotKey=0\r\nIconFile=" + icon + "\r\n";
}

// The message boxes linktile would show, answered with OK.
struct Box {
  std::string text;
  std::string caption;
  unsigned flags;
};
class Boxes {
 public:
  Boxes() {
    SetMessageBoxHook([this](const std::string& text, const std::string& caption, unsigned flags) {
      shown.push_back({text, caption, flags});
      return IDOK;
    });
  }
  ~Boxes() { SetMessageBoxHook(nullptr); }
  std::vector<Box> shown;
};

void ExpectOneBox(const Boxes& boxes, const std::string& text, const std::string& caption, unsigned flags) {
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, text);
  EXPECT_EQ(boxes.shown[0].caption, caption);
  EXPECT_EQ(boxes.shown[0].flags, flags);
}

// The settings file's bytes, told apart from no file at all.
std::string SettingsState(const std::string& path) { return FileExists(path) ? ReadFileOrEmpty(path) : "<no file>"; }

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A recorder, and the console host Wine starts for it, keep their current folder in use
// (a test's temp folder when the link came from a copy started there) until they end.
// The host outlives the recorder briefly; by then its parent is gone.
void WaitForRecordersToEnd() {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
    std::vector<PROCESSENTRY32> all;
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
      all.push_back(entry);
    auto named = [&](DWORD pid, const char* name) {
      for (const PROCESSENTRY32& p : all)
        if (p.th32ProcessID == pid) return name == nullptr || lstrcmpiA(p.szExeFile, name) == 0;
      return false;
    };
    bool busy = false;
    for (const PROCESSENTRY32& p : all) {
      if (lstrcmpiA(p.szExeFile, "url_recorder.exe") == 0) busy = true;
      if (lstrcmpiA(p.szExeFile, "conhost.exe") == 0 &&
          (!named(p.th32ParentProcessID, nullptr) || named(p.th32ParentProcessID, "url_recorder.exe")))
        busy = true;
    }
    if (!busy) return;
  }
}

// Points the prefix's http and https "open" commands at url_recorder.exe, which appends
// each link it is handed to a log file, and puts the commands back afterwards. Wine's
// ShellExecute reads them under HKLM\Software\Classes only, never HKCU.
class LinkRecorder {
 public:
  LinkRecorder() : log_(folder_ / "links.log") {
    SetEnvironmentVariableA("URL_RECORDER_LOG", log_.c_str());
    std::string command = Quoted(BinFolder() + "\\url_recorder.exe") + " \"%1\"";
    const char* const kKeys[] = {"Software\\Classes\\http\\shell\\open\\command",
                                 "Software\\Classes\\https\\shell\\open\\command"};
    for (int i = 0; i < 2; ++i) {
      Saved& s = saved_[i];
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeys[i], 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                      s.handle.out(), nullptr);
      DWORD size = 0;
      s.existed = RegQueryValueExA(s.handle.get(), nullptr, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS;
      s.data.assign(size, '\0');
      if (s.existed && size > 0)
        RegQueryValueExA(s.handle.get(), nullptr, nullptr, &s.type, reinterpret_cast<BYTE*>(&s.data[0]), &size);
      RegSetValueExA(s.handle.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
    }
  }
  ~LinkRecorder() {
    for (Saved& s : saved_) {
      if (s.existed)
        RegSetValueExA(s.handle.get(), nullptr, 0, s.type, reinterpret_cast<const BYTE*>(s.data.data()),
                       static_cast<DWORD>(s.data.size()));
      else
        RegDeleteValueA(s.handle.get(), nullptr);
    }
    SetEnvironmentVariableA("URL_RECORDER_LOG", nullptr);
  }

  // The links that arrived, once there are `count` of them or 20 s have passed: the shell
  // starts the handler and returns without waiting for it.
  std::vector<std::string> Links(size_t count) const {
    std::vector<std::string> links;
    for (DWORD start = GetTickCount();; Sleep(50)) {
      links.clear();
      std::string text = ReadFileOrEmpty(log_);
      for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        links.push_back(text.substr(pos, end - pos));
      if (links.size() >= count || GetTickCount() - start > 20000) break;
    }
    WaitForRecordersToEnd();
    return links;
  }
  void Clear() const { DeleteFileA(log_.c_str()); }

 private:
  struct Saved {
    UniqueHKey handle;
    bool existed = false;
    DWORD type = REG_SZ;
    std::string data;
  };
  TempFolder folder_;
  std::string log_;
  Saved saved_[2];
};

// ---- Set-up ----------------------------------------------------------------------

// A copy named News.exe started with a real .url file, the path quoted as Explorer passes
// a dropped file. The settings file holds exactly the section and the two keys.
TEST(LinktileSetUp, WritesLinkAndIconOfRealShortcuts) {
  const std::string longUrl = "https://example.com/?q=" + std::string(20000, 'a');
  const struct {
    const char* file;
    std::string content;
    std::string url;
    std::string icon;  // "" : no IconFile written
  } kRows[] = {
      {"Daily News.url", WindowsShortcut("https://news.example.com/", "C:\\Windows\\System32\\SHELL32.dll"),
       "https://news.example.com/", "C:\\Windows\\System32\\SHELL32.dll"},
      // other tools: LF only, no property section, no IconFile
      {"plain.url", "[InternetShortcut]\nURL=http://example.org/a?b=1&c=2#top\n", "http://example.org/a?b=1&c=2#top",
       ""},
      // section and key names in any letter case
      {"cased.url", "[internetshortcut]\r\nurl=https://cased.example.com/\r\nICONFILE=C:\\icons\\c.ico\r\n",
       "https://cased.example.com/", "C:\\icons\\c.ico"},
      {"新闻 日报.url", WindowsShortcut("https://例子.中国/新闻", "C:\\图标\\新闻.ico"), "https://例子.中国/新闻",
       "C:\\图标\\新闻.ico"},
      // an empty IconFile is not written
      {"noicon.url", WindowsShortcut("https://example.net/", ""), "https://example.net/", ""},
      // the profile reader's buffer cuts a value at 10 239 bytes
      {"long.url", "[InternetShortcut]\r\nURL=" + longUrl + "\r\n", longUrl.substr(0, 10239), ""},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.file);
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / r.file, r.content));
    Boxes boxes;
    linktile::RunLinktile(Quoted(folder / "News.exe") + " " + Quoted(folder / r.file), folder.path, "News.exe");
    ExpectOneBox(boxes, kSuccess, kInfo, kInfoFlags);
    std::string expected = "[InternetShortcut]\r\nURL=" + r.url + "\r\n";
    if (!r.icon.empty()) expected += "IconFile=" + r.icon + "\r\n";
    EXPECT_EQ(ReadFileOrEmpty(folder / "News.ini"), expected);
  }
}

// The writer updates keys in place: what the settings file held besides stays, and so
// does its IconFile when the shortcut has none.
TEST(LinktileSetUp, KeepsWhatTheSettingsFileAlreadyHolds) {
  const std::string existing =
      "[Other]\r\nA=1\r\n[InternetShortcut]\r\nURL=https://old.example.com/\r\nIconFile=C:\\old.ico\r\nHotKey=0\r\n";
  const struct {
    const char* name;
    std::string shortcut;
    const char* icon;
  } kRows[] = {
      {"shortcut without IconFile", "[InternetShortcut]\nURL=https://new.example.com/\n", "C:\\old.ico"},
      {"shortcut with IconFile", WindowsShortcut("https://new.example.com/", "C:\\new.ico"), "C:\\new.ico"},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.name);
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "News.ini", existing));
    ASSERT_TRUE(WriteFileBytes(folder / "new.url", r.shortcut));
    Boxes boxes;
    linktile::SetUpFromShortcut(folder / "new.url", folder / "News.ini");
    ExpectOneBox(boxes, kSuccess, kInfo, kInfoFlags);
    const std::string settings = folder / "News.ini";
    EXPECT_EQ(ReadProfileText(settings, "InternetShortcut", "URL"), "https://new.example.com/");
    EXPECT_EQ(ReadProfileText(settings, "InternetShortcut", "IconFile"), r.icon);
    EXPECT_EQ(ReadProfileText(settings, "InternetShortcut", "HotKey"), "0");
    EXPECT_EQ(ReadProfileText(settings, "Other", "A"), "1");
  }
}

// Anything but a readable lower-case .url file with a link: the shortcut-error box, and
// the settings file stays as it was, there or not.
TEST(LinktileSetUp, RefusesOtherFilesAndEmptyLinks) {
  const std::string valid = WindowsShortcut("https://news.example.com/", "C:\\n.ico");
  const struct {
    const char* path;     // in the test folder
    const char* content;  // nullptr: no such file
  } kRows[] = {
      {"News.URL", valid.c_str()},  // valid content, upper-case type
      {"News.Url", valid.c_str()},
      {"News.url.txt", valid.c_str()},
      {"News", valid.c_str()},
      {"News.", valid.c_str()},
      {"my.url\\site", valid.c_str()},  // the dot is in the folder's name
      {"missing.url", nullptr},
      {"empty.url", ""},
      {"nosection.url", "URL=https://news.example.com/\r\n"},
      {"elsewhere.url", "[{000214A0-0000-0000-C000-000000000046}]\r\nURL=https://news.example.com/\r\n"
                        "[InternetShortcut]\r\nIDList=\r\n"},
      {"emptylink.url", "[InternetShortcut]\r\nURL=\r\nIconFile=C:\\n.ico\r\n"},
  };
  const char* kBefore[] = {nullptr, "[InternetShortcut]\r\nURL=https://old.example.com/\r\nIconFile=C:\\old.ico\r\n"};
  for (const auto& r : kRows) {
    for (const char* before : kBefore) {
      SCOPED_TRACE(std::string(r.path) + (before ? ", settings file there" : ", no settings file"));
      TempFolder folder;
      CreateDirectoryA((folder / "my.url").c_str(), nullptr);
      if (r.content) {
        ASSERT_TRUE(WriteFileBytes(folder / r.path, r.content));
      }
      if (before) {
        ASSERT_TRUE(WriteFileBytes(folder / "News.ini", before));
      }
      const std::string state = SettingsState(folder / "News.ini");
      Boxes boxes;
      linktile::RunLinktile("News.exe " + Quoted(folder / r.path), folder.path, "News.exe");
      ExpectOneBox(boxes, kShortcutError, kError, kErrorFlags);
      EXPECT_EQ(SettingsState(folder / "News.ini"), state);
    }
  }
}

// Stand-ins for the profile writer where Wine running as root cannot be made to fail.
bool FailsOnIconFile(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
  return key != "IconFile" && WriteProfileText(path, section, key, value);
}
// As a full disk would: the file is rewritten from the start and the write breaks off.
bool EmptiesTheFileAndFails(const std::string& path, const std::string&, const std::string&, const std::string&) {
  WriteFileBytes(path, "");
  return false;
}

// A failed write shows the write-failure box and leaves nothing of the settings file
// changed: not created, not emptied, no new link beside the old icon.
TEST(LinktileSetUp, FailedWriteLeavesSettingsFileAsItWas) {
  const std::string existing =
      "[InternetShortcut]\r\nURL=https://old.example.com/\r\nIconFile=C:\\old.ico\r\n[Other]\r\nA=1\r\n";
  const struct {
    const char* name;
    const char* settings;  // in the test folder
    bool existed;
    bool locked;  // another program holds the settings file open without sharing
    linktile::ProfileWriter write;
  } kRows[] = {
      {"run folder gone", "gone\\News.ini", false, false, WriteProfileText},
      {"settings file locked", "News.ini", true, true, WriteProfileText},
      {"IconFile write fails, new file", "News.ini", false, false, FailsOnIconFile},
      {"IconFile write fails, existing file", "News.ini", true, false, FailsOnIconFile},
      {"write breaks off, new file", "News.ini", false, false, EmptiesTheFileAndFails},
      {"write breaks off, existing file", "News.ini", true, false, EmptiesTheFileAndFails},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.name);
    TempFolder folder;
    const std::string settings = folder / r.settings;
    ASSERT_TRUE(WriteFileBytes(folder / "Daily News.url", WindowsShortcut("https://news.example.com/", "C:\\n.ico")));
    if (r.existed) {
      ASSERT_TRUE(WriteFileBytes(settings, existing));
    }
    const std::string state = SettingsState(settings);
    {
      UniqueFileHandle lock;
      if (r.locked)
        lock.reset(CreateFileA(settings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
      Boxes boxes;
      linktile::SetUpFromShortcut(folder / "Daily News.url", settings, r.write);
      ExpectOneBox(boxes, kWriteFailed, kError, kErrorFlags);
    }
    EXPECT_EQ(SettingsState(settings), state);
    EXPECT_FALSE(FileExists(folder / "gone"));
  }
}

// ---- Launch ----------------------------------------------------------------------

// The link of the settings file goes to the program registered for its scheme, exactly as
// written, and nothing is shown.
TEST(LinktileLaunch, OpensTheLinkOfTheSettingsFile) {
  LinkRecorder recorder;
  const struct {
    const char* name;
    std::string settings;
    const char* url;
  } kRows[] = {
      {"as set-up writes it", "[InternetShortcut]\r\nURL=https://news.example.com/\r\nIconFile=C:\\n.ico\r\n",
       "https://news.example.com/"},
      {"a .url file's text copied by hand", WindowsShortcut("https://example.com/a b?x=1&y=%20", "C:\\n.ico"),
       "https://example.com/a b?x=1&y=%20"},
      {"LF only, other letter case", "[internetshortcut]\nUrl=http://example.org/\n", "http://example.org/"},
      {"GBK link", "[InternetShortcut]\r\nURL=https://例子.中国/新闻\r\n", "https://例子.中国/新闻"},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.name);
    recorder.Clear();
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "News.ini", r.settings));
    Boxes boxes;
    linktile::RunLinktile(Quoted(folder / "News.exe"), folder.path, "News.exe");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(recorder.Links(1), std::vector<std::string>{r.url});
  }
}

// A settings file without a link opens nothing and shows nothing. A link opened after
// these runs is the only one the recorder receives.
TEST(LinktileLaunch, SilentWithoutLink) {
  LinkRecorder recorder;
  const struct {
    const char* name;
    const char* settings;  // nullptr: a folder named News.ini
  } kRows[] = {
      {"empty file", ""},
      {"empty link", "[InternetShortcut]\r\nURL=\r\nIconFile=C:\\n.ico\r\n"},
      {"link in another section", "[{000214A0-0000-0000-C000-000000000046}]\r\nURL=https://wrong.example.com/\r\n"},
      {"a folder of that name", nullptr},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.name);
    TempFolder folder;
    if (r.settings) {
      ASSERT_TRUE(WriteFileBytes(folder / "News.ini", r.settings));
    } else {
      ASSERT_TRUE(CreateDirectoryA((folder / "News.ini").c_str(), nullptr));
    }
    Boxes boxes;
    linktile::RunLinktile(Quoted(folder / "News.exe"), folder.path, "News.exe");
    EXPECT_TRUE(boxes.shown.empty());
  }
  TempFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder / "News.ini", "[InternetShortcut]\r\nURL=https://marker.example.com/\r\n"));
  linktile::LaunchLink(folder / "News.ini");
  EXPECT_EQ(recorder.Links(1), std::vector<std::string>{"https://marker.example.com/"});
}

// Without its settings file a copy says which file it looked for: named after the copy
// with every exact ".exe" removed, in the copy's own folder. An empty first argument
// launches too.
TEST(LinktileLaunch, MissingSettingsFileNamesThePath) {
  const struct {
    const char* ownName;
    const char* arguments;
    const char* settings;
  } kRows[] = {
      {"News.exe", "", "News.ini"},
      {"News.EXE", "", "News.EXE.ini"},
      {"a.exe.b.exe", " \"\"", "a.b.ini"},
      {"News.exe", " \"\" \"C:\\ignored.url\"", "News.ini"},
      {"新闻 日报.exe", "", "新闻 日报.ini"},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(std::string(r.ownName) + r.arguments);
    TempFolder folder;
    Boxes boxes;
    linktile::RunLinktile(Quoted(folder / r.ownName) + r.arguments, folder.path, r.ownName);
    ExpectOneBox(boxes, kMissingSettings + (folder / r.settings), kError, kErrorFlags);
  }
}

// ---- A copy of linktile.exe, run as a user would -----------------------------------

// The copy's folder, with a current folder elsewhere that holds a decoy News.ini: the
// copy must go by its own folder.
struct CopyFixture {
  explicit CopyFixture(const std::string& name) : exe(folder / name) {
    CopyFileA((BinFolder() + "\\linktile.exe").c_str(), exe.c_str(), FALSE);
    WriteFileBytes(elsewhere / "News.ini", kDecoy);
  }
  // Starts the copy with `arguments` and returns its message box (nullptr if none came).
  HWND Run(const std::string& arguments, Child* child) {
    if (!Start(Quoted(exe) + arguments, child, elsewhere.path)) return nullptr;
    return WaitForMessageBox(child->pid, 20000);
  }
  static constexpr const char* kDecoy = "[InternetShortcut]\r\nURL=https://decoy.example.com/\r\n";
  TempFolder folder;
  TempFolder elsewhere;
  std::string exe;
};

TEST(LinktileE2E, CopySetsUpFromShortcutThenOpensItsLink) {
  LinkRecorder recorder;
  CopyFixture copy("News.exe");
  ASSERT_TRUE(FileExists(copy.exe));
  CreateDirectoryA((copy.folder / "My Links").c_str(), nullptr);
  const std::string shortcut = copy.folder / "My Links\\Daily News.url";
  ASSERT_TRUE(WriteFileBytes(shortcut, WindowsShortcut("https://news.example.com/today?x=1", "C:\\n.ico")));

  Child setUp;
  HWND box = copy.Run(" " + Quoted(shortcut), &setUp);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), kSuccess);
  EXPECT_EQ(WindowText(box), kInfo);
  PressButton(box, IDOK);
  EXPECT_EQ(setUp.WaitExit(20000), 0u);
  EXPECT_EQ(ReadFileOrEmpty(copy.folder / "News.ini"),
            "[InternetShortcut]\r\nURL=https://news.example.com/today?x=1\r\nIconFile=C:\\n.ico\r\n");
  EXPECT_EQ(ReadFileOrEmpty(copy.elsewhere / "News.ini"), CopyFixture::kDecoy);

  Child launch;
  ASSERT_TRUE(Start(Quoted(copy.exe), &launch, copy.elsewhere.path));
  EXPECT_EQ(launch.WaitExit(20000), 0u);
  EXPECT_EQ(recorder.Links(1), std::vector<std::string>{"https://news.example.com/today?x=1"});
}

// Runs of a copy that end in an error box still end with exit code 0.
TEST(LinktileE2E, ErrorBoxesThenExitCodeZero) {
  const struct {
    const char* name;
    const char* arguments;
    const char* text;  // the folder's settings path follows for the missing-settings box
    const char* settings;
  } kRows[] = {
      {"News.EXE", "", kMissingSettings, "News.EXE.ini"},
      {"a.exe.b.exe", " \"\"", kMissingSettings, "a.b.ini"},
      {"News.exe", " Daily.URL", kShortcutError, nullptr},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(std::string(r.name) + r.arguments);
    CopyFixture copy(r.name);
    ASSERT_TRUE(WriteFileBytes(copy.elsewhere / "Daily.URL", WindowsShortcut("https://news.example.com/", "")));
    Child child;
    HWND box = copy.Run(r.arguments, &child);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), r.settings ? r.text + (copy.folder / r.settings) : std::string(r.text));
    EXPECT_EQ(WindowText(box), kError);
    PressButton(box, IDOK);
    EXPECT_EQ(child.WaitExit(20000), 0u);
    EXPECT_FALSE(FileExists(copy.folder / (r.settings ? r.settings : "News.ini")));
    EXPECT_EQ(ReadFileOrEmpty(copy.elsewhere / "News.ini"), CopyFixture::kDecoy);
  }
}

}  // namespace
