// Placeholders until the manifest writer and reader land.
#include "tesserin/tile/tile.h"

LoadedTileRecord LoadedTile;

TileSettings ReadTileSettings() { return TileSettings(); }
void AddOrUpdateTile() {}
void FinishTileUpdate(bool) {}
bool WriteTileManifest() { return false; }
void ReadTileManifest() {}
void ResetTileFields() {}
