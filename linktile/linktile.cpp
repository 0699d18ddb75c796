#include "linktile/linktile.h"
