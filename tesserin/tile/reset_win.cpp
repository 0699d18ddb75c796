// Placeholders until reset and open folder land.
#include "tesserin/tile/tile.h"

void ResetTile() {}
void OpenProgramFolder() {}
