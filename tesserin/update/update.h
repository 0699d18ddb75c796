// Update check against the update server.
#pragma once

// Starts the check on its own thread; `atStartup` 1 at start-up, 0 on request.
void StartUpdateCheck(int atStartup);
