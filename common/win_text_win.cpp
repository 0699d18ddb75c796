#include "common/win_text.h"

#include <shlobj.h>

#include "common/gbk.h"
#include "common/scoped_win.h"

std::wstring ToWide(const std::string& text, UINT cp) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string FromWide(const std::wstring& text, UINT cp) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  if (size.QuadPart > 0 && (!ReadFile(file.get(), &(*bytes)[0], static_cast<DWORD>(size.QuadPart), &done, nullptr) ||
                            done != size.QuadPart))
    return false;
  return true;
}

std::string OwnModulePath() {
  // GetModuleFileNameA cuts silently; grow until the whole path fits.
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

std::string RunFolder() {
  std::string path = OwnModulePath();
  size_t slash = gbk::FindLast(path, '\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = gbk::FindLast(path, '\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FitsMaxPath(const std::string& path) {
  // The ANSI file functions convert into a buffer of MAX_PATH UTF-16 units including the
  // terminating zero, so a GBK path may have more bytes than that but not more units.
  return ToWide(path).size() < MAX_PATH;
}

std::string ProgramsFolder() {
  char buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAMS, FALSE)) return std::string();
  std::string folder = buffer;
  if (folder.empty() || gbk::FindLast(folder, '\\') != folder.size() - 1) folder += '\\';
  return folder;
}
