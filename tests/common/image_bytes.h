// Byte builders for the picture fixtures of the native and the Wine tests.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string Le16(unsigned v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
inline std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
inline std::string Be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}
// One PNG chunk: length, type, data, CRC.
inline std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return Be32(static_cast<std::uint32_t>(data.size())) + body + Be32(static_cast<std::uint32_t>(crc));
}
