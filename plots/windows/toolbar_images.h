// The 24 x 24 button images of the plot tool window's toolbars, drawn once
// per thread.
#pragma once

#include <cstdint>

#include "platform/gui/bitmap.h"

// The image of a toolbar command (a blank image for an unknown id).
const lv::Bitmap& ToolbarImage(uint32_t commandId);
