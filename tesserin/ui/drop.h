// Files dropped on the window, the picture fields, the previews and the icon field.
#pragma once

// Registers the six drop areas (OLE drop targets, or WM_DROPFILES bindings when elevated).
void SetUpDrops();
// Unbinds and releases whatever SetUpDrops bound; part of the exit clean-up.
void ReleaseDropBindings();
