#include "tesserin/update/update.h"

void StartUpdateCheck(int) {}
