// A test card drawn through the layer's device context: lines in every
// direction, exclusive rectangles, the four hatches in both background modes,
// text in every alignment and font (the vertical one included), an 8-bit
// palettised and a 32-bit bitmap stretched, and a copy between surfaces.
// Drawn only with DeviceContext calls, so it also exercises recording.
#pragma once

#include "platform/gui/device_context.h"

namespace lv_test {

inline constexpr int kTestCardWidth = 480;
inline constexpr int kTestCardHeight = 360;

void DrawTestCard(lv::DeviceContext& dc);

}  // namespace lv_test
