// The capture box's magnifier glyphs: 20 x 20 PNG with alpha, a lens with a plus
// sign and the handle to the lower right. Idle is grey RGB(116,116,116), active
// (while capturing) light grey RGB(186,186,186). Drawn by tools/make_glyphs.py.
#pragma once

#include <string>

const std::string& IdleMagnifierPng();
const std::string& ActiveMagnifierPng();
