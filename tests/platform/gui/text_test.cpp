// Text of the device context: the installed families, cell heights, extents,
// alignment of the reference point (right/baseline especially), the vertical
// font reading upwards, the persistent text colour and opaque cells.
#include <string>

#include "dc_fixture.h"
#include "platform/gui/fonts.h"

namespace {

using lv::BkMode;
using lv::HAlign;
using lv::ImageDc;
using lv::MakeRgb;
using lv::TextAlign;
using lv::VAlign;
using lv_test::BoundingBox;
using lv_test::Box;
using lv_test::LitPixels;

const lv::Color kWhite = MakeRgb(255, 255, 255);

class Text : public lv_test::GuiTest {};

TEST_F(Text, FontsComeFromTheInstalledFamilies) {
  EXPECT_EQ(lv::ActualFontFamily(lv::NormalFont()), "Liberation Sans");
  EXPECT_EQ(lv::ActualFontFamily(lv::VerticalFont()), "Liberation Sans");
  EXPECT_EQ(lv::ActualFontFamily(lv::MonoFont()), "DejaVu Sans Mono");
}

TEST_F(Text, CellsFitTheRequestedHeightAndExtentsAddUp) {
  ImageDc dc(10, 10);
  for (const lv::Font& f : {lv::NormalFont(), lv::MonoFont()}) {
    dc.SelectFont(f);
    const lv::TextMetrics tm = dc.GetTextMetrics();
    EXPECT_LE(tm.height, 14);
    EXPECT_GE(tm.height, 12);
    EXPECT_EQ(tm.height, tm.ascent + tm.descent);
    EXPECT_GT(tm.aveCharWidth, 0);
    const lv::Size one = dc.GetTextExtent(L"M");
    const lv::Size four = dc.GetTextExtent(L"MMMM");
    EXPECT_EQ(one.cy, tm.height);
    // Advances are kept in fractions of a pixel and the total rounded.
    EXPECT_NEAR(four.cx, 4 * one.cx, 2);
    EXPECT_EQ(dc.GetTextExtent(L"").cx, 0);
  }
  dc.SelectFont(lv::MonoFont());
  EXPECT_EQ(dc.GetTextExtent(L"iiii").cx, dc.GetTextExtent(L"WWWW").cx);
  dc.SelectFont(lv::NormalFont());
  EXPECT_LT(dc.GetTextExtent(L"iiii").cx, dc.GetTextExtent(L"WWWW").cx);
}

// Draws text with an alignment at (x, y) and returns the box of its pixels.
Box DrawAligned(const lv::Font& font, TextAlign align, int x, int y, const wchar_t* text, lv::TextMetrics* tm = nullptr,
                lv::Size* extent = nullptr) {
  ImageDc dc(240, 240);
  dc.SelectFont(font);
  dc.SetBkMode(BkMode::kTransparent);
  dc.SetTextColor(kWhite);
  dc.SetTextAlign(align);
  dc.TextOut(x, y, text);
  if (tm) *tm = dc.GetTextMetrics();
  if (extent) *extent = dc.GetTextExtent(text);
  return BoundingBox(LitPixels(dc));
}

TEST_F(Text, RightBaselineAlignmentEndsAtTheReferencePoint) {
  lv::TextMetrics tm;
  lv::Size extent;
  // Capitals and digits without descenders sit on the baseline.
  const Box b = DrawAligned(lv::NormalFont(), TextAlign{HAlign::kRight, VAlign::kBaseline}, 150, 100, L"HEH 123",
                            &tm, &extent);
  ASSERT_FALSE(b.Empty());
  EXPECT_LE(b.maxX, 149);
  EXPECT_GE(b.maxX, 146);  // side bearing of the last glyph at most a few pixels
  EXPECT_GE(b.minX, 150 - extent.cx);
  EXPECT_LE(b.minX, 150 - extent.cx + 3);
  EXPECT_LE(b.maxY, 99);
  EXPECT_GE(b.maxY, 98);
  EXPECT_GE(b.minY, 100 - tm.ascent);
}

TEST_F(Text, EveryAlignmentPlacesTheCellAroundTheReferencePoint) {
  lv::TextMetrics tm;
  lv::Size extent;
  const Box ref = DrawAligned(lv::NormalFont(), TextAlign{HAlign::kLeft, VAlign::kTop}, 100, 100, L"HEH", &tm, &extent);
  ASSERT_FALSE(ref.Empty());
  EXPECT_GE(ref.minX, 100);
  EXPECT_GE(ref.minY, 100);
  EXPECT_LT(ref.maxY, 100 + tm.height);
  const struct {
    HAlign h;
    VAlign v;
    int dx, dy;  // shift of the picture against left/top
  } cases[] = {
      {HAlign::kCenter, VAlign::kTop, -(extent.cx / 2), 0},
      {HAlign::kRight, VAlign::kTop, -extent.cx, 0},
      {HAlign::kLeft, VAlign::kBaseline, 0, -tm.ascent},
      {HAlign::kLeft, VAlign::kBottom, 0, -tm.height},
      {HAlign::kRight, VAlign::kBottom, -extent.cx, -tm.height},
  };
  for (const auto& c : cases) {
    const Box b = DrawAligned(lv::NormalFont(), TextAlign{c.h, c.v}, 100, 100, L"HEH");
    EXPECT_EQ(b.minX, ref.minX + c.dx) << static_cast<int>(c.h) << "/" << static_cast<int>(c.v);
    EXPECT_EQ(b.maxX, ref.maxX + c.dx);
    EXPECT_EQ(b.minY, ref.minY + c.dy);
    EXPECT_EQ(b.maxY, ref.maxY + c.dy);
  }
}

TEST_F(Text, VerticalFontReadsUpwards) {
  lv::Size extent;
  lv::TextMetrics tm;
  const TextAlign leftBase{HAlign::kLeft, VAlign::kBaseline};
  const Box whole = DrawAligned(lv::VerticalFont(), leftBase, 100, 200, L"HEHEHE", &tm, &extent);
  const Box first = DrawAligned(lv::VerticalFont(), leftBase, 100, 200, L"H");
  ASSERT_FALSE(whole.Empty());
  // The text runs upwards from the reference point; the glyphs stand left of
  // the baseline (their tops point left).
  EXPECT_GT(whole.maxY - whole.minY, 4 * (whole.maxX - whole.minX));
  EXPECT_LE(whole.maxY, 199);
  EXPECT_GE(whole.minY, 200 - extent.cx);
  EXPECT_LE(whole.maxX, 99);
  EXPECT_GE(whole.minX, 100 - tm.ascent);
  // The first letter is at the bottom: reading bottom to top.
  EXPECT_EQ(first.maxY, whole.maxY);
  EXPECT_GT(first.minY, whole.minY + 3 * (first.maxY - first.minY));

  // Centre/bottom (the y axis title): centred on the point along the text,
  // the cell's bottom on the reference line, so the glyphs stand right of it.
  const Box title = DrawAligned(lv::VerticalFont(), TextAlign{HAlign::kCenter, VAlign::kBottom}, 100, 120, L"HEHEHE");
  EXPECT_NEAR((title.minY + title.maxY) / 2.0, 120, 3);
  EXPECT_GE(title.minX, 100 - tm.height);
  EXPECT_LE(title.maxX, 100 - tm.descent);
}

TEST_F(Text, TextColourStaysUntilChangedAndOpaqueModeFillsTheCell) {
  ImageDc dc(200, 40);
  dc.SetBkMode(BkMode::kTransparent);
  EXPECT_EQ(dc.SetTextColor(MakeRgb(255, 0, 0)), 0u);
  dc.TextOut(2, 2, L"HH");
  dc.TextOut(60, 2, L"HH");
  int red = 0;
  for (const auto& [x, y] : LitPixels(dc)) {
    const lv::Color c = dc.GetBitmap().Pixel(x, y);
    EXPECT_EQ(lv::GreenOf(c), 0);
    EXPECT_EQ(lv::BlueOf(c), 0);
    red += lv::RedOf(c) == 255 ? 1 : 0;
  }
  EXPECT_GT(red, 8);
  EXPECT_EQ(dc.GetTextColor(), MakeRgb(255, 0, 0));

  ImageDc opaque(200, 40);
  opaque.SetBkMode(BkMode::kOpaque);
  opaque.SetBkColor(MakeRgb(0, 0, 255));
  opaque.TextOut(10, 5, L"Cell");
  const lv::Size e = opaque.GetTextExtent(L"Cell");
  // The cell's corners take the background colour, outside stays black.
  EXPECT_EQ(opaque.GetBitmap().Pixel(10, 5), MakeRgb(0, 0, 255));
  EXPECT_EQ(opaque.GetBitmap().Pixel(10 + e.cx - 1, 5 + e.cy - 1), MakeRgb(0, 0, 255));
  EXPECT_EQ(opaque.GetBitmap().Pixel(10 + e.cx, 5), 0u);
  EXPECT_EQ(opaque.GetBitmap().Pixel(9, 5), 0u);
  EXPECT_EQ(opaque.GetBitmap().Pixel(10, 5 + e.cy), 0u);
}

TEST_F(Text, FontsScaleWithAnIsotropicMappingAndMeasureInLogicalUnits) {
  const Box plain = DrawAligned(lv::NormalFont(), TextAlign{HAlign::kLeft, VAlign::kTop}, 10, 10, L"HEH");
  ImageDc dc(400, 200);
  dc.SetIsotropicMapping(lv::Size{100, 100}, lv::Size{300, 300}, lv::Point{0, 0});
  dc.SetBkMode(BkMode::kTransparent);
  dc.SetTextColor(kWhite);
  dc.TextOut(10, 10, L"HEH");
  const Box big = BoundingBox(LitPixels(dc));
  ASSERT_FALSE(big.Empty());
  const double ratio = static_cast<double>(big.maxY - big.minY + 1) / (plain.maxY - plain.minY + 1);
  EXPECT_GT(ratio, 2.5);
  EXPECT_LT(ratio, 3.5);
  EXPECT_GE(big.minX, 30);
  EXPECT_GE(big.minY, 30);
  ImageDc unmapped(10, 10);
  EXPECT_EQ(dc.GetTextExtent(L"HEH"), unmapped.GetTextExtent(L"HEH"));
}

}  // namespace
