// Profile (ini) files through GetPrivateProfileStringA / WritePrivateProfileStringA.
#pragma once

#include <string>

// Reads with a 10 240-byte buffer, so a value is at most 10 239 bytes; a missing file,
// section or key gives `fallback`.
std::string ReadProfileText(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& fallback = std::string());
// Writes one key in place; false when the profile function reports failure.
bool WriteProfileText(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value);
