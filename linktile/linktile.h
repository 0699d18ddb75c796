// linktile: a copy named XXX.exe opens the link in XXX.ini beside it.
#pragma once
