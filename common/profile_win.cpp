#include "common/profile.h"

#include <windows.h>

#include <vector>

std::string ReadProfileText(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& fallback) {
  // The full-size buffer matters: a value cut by a small buffer can leave a stale byte.
  std::vector<char> buf(10240, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buf.data(),
                                     static_cast<DWORD>(buf.size()), path.c_str());
  return std::string(buf.data(), n);
}

bool WriteProfileText(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}
