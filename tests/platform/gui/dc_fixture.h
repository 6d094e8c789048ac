// Shared helpers of the device-context tests: a fixture with the Qt
// application object, and pixel-set read-outs of a surface.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/gui/image_dc.h"
#include "support/gui_app.h"

namespace lv_test {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of dc that are not the background colour.
inline PixelSet LitPixels(const lv::ImageDc& dc, lv::Color background = 0) {
  PixelSet lit;
  for (int y = 0; y < dc.Height(); ++y) {
    for (int x = 0; x < dc.Width(); ++x) {
      if (dc.GetBitmap().Pixel(x, y) != background) {
        lit.insert({x, y});
      }
    }
  }
  return lit;
}

struct Box {
  int minX = 1 << 30, minY = 1 << 30, maxX = -(1 << 30), maxY = -(1 << 30);
  bool Empty() const { return maxX < minX; }
};

inline Box BoundingBox(const PixelSet& pixels) {
  Box b;
  for (const auto& [x, y] : pixels) {
    b.minX = std::min(b.minX, x);
    b.maxX = std::max(b.maxX, x);
    b.minY = std::min(b.minY, y);
    b.maxY = std::max(b.maxY, y);
  }
  return b;
}

}  // namespace lv_test
