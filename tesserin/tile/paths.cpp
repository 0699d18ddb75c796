#include "tesserin/tile/paths.h"

#include "common/gbk.h"

std::string PathWithoutExtension(const std::string& path) {
  size_t dot = gbk::FindLast(path, '.');
  return dot == std::string::npos ? std::string() : path.substr(0, dot);
}

std::string BaseNameWithoutExtension(const std::string& path) {
  size_t slash = gbk::FindLast(path, '\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return PathWithoutExtension(name);
}

std::string FolderOfPath(const std::string& path) {
  size_t slash = gbk::FindLast(path, '\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TrimTrailingSpaces(const std::string& text) {
  // Walk forward so that "A1 A1" is only taken as a full-width space when it is a whole
  // character, never the trail byte of one character and the lead of the next.
  size_t runStart = std::string::npos;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t width = gbk::IsLeadByte(c) && i + 1 < text.size() ? 2 : 1;
    bool space = c == ' ' || (width == 2 && c == 0xA1 && static_cast<unsigned char>(text[i + 1]) == 0xA1);
    if (!space) runStart = std::string::npos;
    else if (runStart == std::string::npos) runStart = i;
    i += width;
  }
  return runStart == std::string::npos ? text : text.substr(0, runStart);
}
