#include "common/gbk.h"

namespace gbk {

size_t FindLast(const std::string& text, char ch) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && i + 1 < text.size()) {
      ++i;  // the trail byte belongs to the character, never a separator
      continue;
    }
    if (text[i] == ch) found = i;
  }
  return found;
}

std::string FileTypeText(const std::string& path) {
  size_t slash = FindLast(path, '\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = FindLast(name, '.');
  if (dot == std::string::npos) return "";
  return name.substr(dot + 1);
}

std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < '!') {
      ++i;
      continue;
    }
    std::string arg;
    if (c == '"') {
      ++i;
      while (i < n && text[i] != '"') {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n) arg += text[i++];
        arg += text[i++];
      }
      if (i < n) ++i;  // closing quote
    } else {
      while (i < n && static_cast<unsigned char>(text[i]) >= '!' && text[i] != '"') {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n) arg += text[i++];
        arg += text[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::vector<std::string> ArgumentsAfterProgramName(const std::string& commandLine) {
  std::vector<std::string> all = SplitArguments(commandLine);
  if (!all.empty()) all.erase(all.begin());
  return all;
}

std::string AsciiLower(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c) && i + 1 < out.size()) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

std::string ReplaceAll(const std::string& text, const std::string& what, const std::string& with) {
  if (what.empty()) return text;
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = text.find(what, pos)) != std::string::npos; pos = hit + what.size()) {
    out.append(text, pos, hit - pos);
    out += with;
  }
  out.append(text, pos, std::string::npos);
  return out;
}

}  // namespace gbk
