// Placeholders until target resolution lands.
#include "tesserin/tile/tile.h"

bool LoadTarget(std::string, bool, bool) { return true; }
std::string ReadShortcutTarget(const std::string&) { return std::string(); }
std::vector<std::string> ListFiles(std::string, const std::string&) { return {}; }
void PumpMessages() {}
