#include "tesserin/settings/settings.h"

bool IsVerbRegistered() { return false; }
void OnContextMenuCheckBoxClicked() {}
