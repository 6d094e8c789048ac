// The monitors of the window system, as rectangles in screen coordinates.
#pragma once

#include <vector>

#include "platform/gui/drawing.h"

namespace lv {

// Every monitor's rectangle (empty without a window system). GUI thread.
std::vector<Rect> ScreenRects();
// True when the rectangle overlaps at least one monitor.
bool IsOnAnyScreen(const Rect& r);

}  // namespace lv
