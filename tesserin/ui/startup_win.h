#pragma once

#include <windows.h>

#include <string>

// The whole program: process start, main window, message loop; returns the exit code.
int RunTesserin(HINSTANCE instance);
// Major, minor and platform id the system recorded for this process.
void ProcessVersionNumbers(unsigned* major, unsigned* minor, unsigned* platformId);
// FileVersion of the version resource of `path`; "" when it cannot be read.
std::string FileVersionOf(const std::string& path);
// IsNTAdmin of advpack.dll, looked up by name.
bool AdministratorTest();
