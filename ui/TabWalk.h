// The keyboard walk of a form: Tab and Shift+Tab go from control to control in the order of each
// container's tab list, entering every shown and enabled container in its turn, and wrap around.
#pragma once
#include <windows.h>

#include <vector>

#include "Controls.h"

namespace ui {

// Every shown, enabled tab stop below `root`, depth first in tab order: a container's tab stops
// come at its own place in its parent's order. A hidden or disabled container hides its children.
std::vector<HWND> TabStops(const TWinControl& root);

// The tab stop after `from` (or before it, going back), wrapping around at the ends; `from` may be
// a window inside a control (the edit of a combo box). From outside the walk, forward starts at the
// first tab stop and back at the last. Null when `root` has no tab stop.
HWND NextTabStop(const TWinControl& root, HWND from, bool forward);

}  // namespace ui
