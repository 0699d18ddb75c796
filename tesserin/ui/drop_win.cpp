#include "tesserin/ui/drop.h"

void SetUpDrops() {}
void ReleaseDropBindings() {}
