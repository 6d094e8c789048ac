// Fills of the image device context: rectangles exclusive of their right and
// bottom edges, Rectangle's outline and interior, and the four hatch masks in
// transparent and opaque background mode.
#include <string>

#include "dc_fixture.h"

namespace {

using lv::BkMode;
using lv::Brush;
using lv::HatchStyle;
using lv::ImageDc;
using lv::MakeRgb;
using lv::Pen;
using lv::Rect;
using lv_test::LitPixels;
using lv_test::PixelSet;

const lv::Color kWhite = MakeRgb(255, 255, 255);
const lv::Color kBlue = MakeRgb(0, 0, 255);

PixelSet Block(int left, int top, int right, int bottom) {
  PixelSet s;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) s.insert({x, y});
  return s;
}

class Fills : public lv_test::GuiTest {};

TEST_F(Fills, RectanglesLeaveOutTheirRightAndBottomEdges) {
  const struct {
    Rect r;
    PixelSet expected;
  } cases[] = {
      {{2, 3, 5, 7}, Block(2, 3, 5, 7)},
      {{5, 7, 2, 3}, Block(2, 3, 5, 7)},  // corners swapped
      {{4, 4, 4, 9}, {}},                 // no width
      {{-5, -5, 2, 1}, Block(0, 0, 2, 1)},
      {{8, 8, 100, 100}, Block(8, 8, 10, 10)},
  };
  for (const auto& c : cases) {
    ImageDc dc(10, 10);
    dc.FillSolidRect(c.r, kWhite);
    EXPECT_EQ(LitPixels(dc), c.expected) << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
  }
}

TEST_F(Fills, RectangleOutlinesWithThePenAndFillsTheInsideWithTheBrush) {
  ImageDc dc(12, 12);
  dc.SelectPen(Pen::Solid(kWhite, 0));
  dc.SelectBrush(Brush::Solid(kBlue));
  dc.Rectangle(Rect{2, 3, 8, 9});
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 8 && y >= 3 && y < 9;
      const bool edge = inside && (x == 2 || x == 7 || y == 3 || y == 8);
      const lv::Color expected = edge ? kWhite : inside ? kBlue : 0;
      ASSERT_EQ(dc.GetBitmap().Pixel(x, y), expected) << x << "," << y;
    }
  }
  // Without a pen the fill stops one pixel short on the right and bottom.
  ImageDc bare(12, 12);
  bare.SelectPen(Pen::Null());
  bare.SelectBrush(Brush::Solid(kBlue));
  bare.Rectangle(Rect{2, 3, 8, 9});
  EXPECT_EQ(LitPixels(bare), Block(2, 3, 7, 8));
}

// The 8 x 8 hatch cells, row by row from the surface's top-left corner.
struct HatchCase {
  HatchStyle style;
  const char* rows[8];
};

const HatchCase kHatches[] = {
    {HatchStyle::kHorizontal,
     {"########", "........", "........", "........", "........", "........", "........", "........"}},
    {HatchStyle::kForwardDiagonal,
     {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
    {HatchStyle::kBackwardDiagonal,
     {"#.......", ".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......"}},
    {HatchStyle::kDiagonalCross,
     {"#.......", ".#.....#", "..#...#.", "...#.#..", "....#...", "...#.#..", "..#...#.", ".#.....#"}},
};

TEST_F(Fills, HatchMasksRepeatEveryEightPixelsFromTheCorner) {
  for (const HatchCase& h : kHatches) {
    for (BkMode mode : {BkMode::kTransparent, BkMode::kOpaque}) {
      const lv::Color under = MakeRgb(10, 20, 30);
      ImageDc dc(24, 20, under);
      dc.SetBkMode(mode);
      dc.SetBkColor(MakeRgb(48, 48, 128));
      dc.FillRect(Rect{3, 2, 21, 19}, Brush::Hatch(h.style, kWhite));
      for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 24; ++x) {
          const bool inside = x >= 3 && x < 21 && y >= 2 && y < 19;
          const bool line = h.rows[y % 8][x % 8] == '#';
          lv::Color expected = under;
          if (inside) {
            expected = line ? kWhite : (mode == BkMode::kOpaque ? MakeRgb(48, 48, 128) : under);
          }
          ASSERT_EQ(dc.GetBitmap().Pixel(x, y), expected)
              << static_cast<int>(h.style) << " mode " << static_cast<int>(mode) << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(Fills, NullBrushFillsNothing) {
  ImageDc dc(8, 8);
  dc.FillRect(Rect{0, 0, 8, 8}, Brush::Null());
  EXPECT_TRUE(LitPixels(dc).empty());
}

}  // namespace
