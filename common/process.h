// Starting outside programs that are not waited for.
#pragma once

#include <string>

// Starts `commandLine` (no application name, no inheritance) with the window shown as
// `showCommand` (SW_*), waits at most 1000 ms for it to become idle and lets it run on.
// False when it could not be started.
bool StartAndLeaveRunning(std::string commandLine, int showCommand);
