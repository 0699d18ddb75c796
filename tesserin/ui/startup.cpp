#include "tesserin/ui/startup.h"

#include "common/gbk.h"

std::string InfoCaption;
std::string ErrorCaption;
std::string VersionText;
std::string ConfigPath;
std::string DefaultBackColour;
bool IsElevated = false;
std::vector<std::string> ProgramArguments;

const char* const kSingleInstanceMutex = "kvelt-f2c4bb7d-0cb0-4d1f-bd8b-f9d4fa70aabf";
const char* const kProductTitle = "Tesserin";

int WindowsVersionCode(unsigned major, unsigned minor, unsigned platformId) {
  if (platformId == 1) return minor >= 90 ? 3 : minor >= 10 ? 2 : 1;  // 95, 98, Me
  if (major <= 4) return 4;
  if (major >= 7) return 12;
  if (major == 5) return minor <= 2 ? 5 + static_cast<int>(minor) : 0;
  // major 6
  if (minor <= 1) return 8 + static_cast<int>(minor);
  if (minor <= 4) return 10 + static_cast<int>(minor) - 2;
  return 0;
}

std::string VersionTextFrom(const std::string& fileVersion) { return "v" + fileVersion.substr(0, 3); }

bool TitleContains(const std::string& title, const std::string& wanted) {
  return gbk::AsciiLower(title).find(gbk::AsciiLower(wanted)) != std::string::npos;
}

std::string RefusalText(const std::string& exeFileName) { return "请勿多开 [" + exeFileName + "]！"; }
