// Bitmaps: 8-bit palettised and 32-bit device-independent bitmaps (bottom-up
// and top-down) drawn one to one and stretched without smoothing, copies
// between surfaces, and pictures written and read back.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "dc_fixture.h"

namespace {

using lv::BitmapInfoHeader;
using lv::ImageDc;
using lv::MakeRgb;
using lv::Point;
using lv::Rect;
using lv::RgbQuad;

class Bitmaps : public lv_test::GuiTest {};

// A 3 x 2 8-bit bitmap: stored rows padded to 4 bytes.
struct Dib8 {
  BitmapInfoHeader header;
  std::vector<uint8_t> bits;
  RgbQuad colors[256];
  Dib8(int32_t height) {
    header.width = 3;
    header.height = height;
    header.bitCount = 8;
    for (int v = 0; v < 256; ++v) colors[v] = RgbQuad{static_cast<uint8_t>(v), 0, static_cast<uint8_t>(255 - v), 0};
    // Stored first row: 10 20 30 (pad), second: 40 50 60 (pad).
    bits = {10, 20, 30, 0xEE, 40, 50, 60, 0xEE};
  }
};

lv::Color Entry(int v) { return MakeRgb(255 - v, 0, v); }

TEST_F(Bitmaps, EightBitPixelsAreLookedUpInTheColourTable) {
  // Bottom-up: the first stored row is the bottom line.
  Dib8 up(2);
  ImageDc dc(5, 4);
  ASSERT_TRUE(dc.StretchDib(Rect{1, 1, 4, 3}, Rect{0, 0, 3, 2}, up.bits.data(), up.header, up.colors));
  EXPECT_EQ(dc.GetBitmap().Pixel(1, 1), Entry(40));
  EXPECT_EQ(dc.GetBitmap().Pixel(3, 1), Entry(60));
  EXPECT_EQ(dc.GetBitmap().Pixel(1, 2), Entry(10));
  EXPECT_EQ(dc.GetBitmap().Pixel(3, 2), Entry(30));
  EXPECT_EQ(dc.GetBitmap().Pixel(0, 0), 0u);
  EXPECT_EQ(dc.GetBitmap().Pixel(4, 3), 0u);

  // Top-down (negative height): the first stored row is the top line.
  Dib8 down(-2);
  ImageDc dc2(3, 2);
  ASSERT_TRUE(dc2.StretchDib(Rect{0, 0, 3, 2}, Rect{0, 0, 3, 2}, down.bits.data(), down.header, down.colors));
  EXPECT_EQ(dc2.GetBitmap().Pixel(0, 0), Entry(10));
  EXPECT_EQ(dc2.GetBitmap().Pixel(2, 1), Entry(60));

  // No colour table, or an unsupported form, is refused.
  EXPECT_FALSE(dc2.StretchDib(Rect{0, 0, 3, 2}, Rect{0, 0, 3, 2}, up.bits.data(), up.header, nullptr));
  BitmapInfoHeader odd = up.header;
  odd.bitCount = 4;
  EXPECT_FALSE(dc2.StretchDib(Rect{0, 0, 3, 2}, Rect{0, 0, 3, 2}, up.bits.data(), odd, up.colors));
  odd = up.header;
  odd.compression = 1;
  EXPECT_FALSE(dc2.StretchDib(Rect{0, 0, 3, 2}, Rect{0, 0, 3, 2}, up.bits.data(), odd, up.colors));
}

TEST_F(Bitmaps, StretchingRepeatsPixelsWithoutSmoothing) {
  Dib8 up(2);
  ImageDc dc(9, 6);
  // 3 x 2 onto 9 x 6: every source pixel becomes a 3 x 3 block of its own colour.
  ASSERT_TRUE(dc.StretchDib(Rect{0, 0, 9, 6}, Rect{0, 0, 3, 2}, up.bits.data(), up.header, up.colors));
  const int top[3] = {40, 50, 60}, bottom[3] = {10, 20, 30};
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 9; ++x) {
      const int v = y < 3 ? top[x / 3] : bottom[x / 3];
      ASSERT_EQ(dc.GetBitmap().Pixel(x, y), Entry(v)) << x << "," << y;
    }
  }
  // Shrinking picks source pixels, never mixes them: 3 x 2 onto 2 x 1 takes
  // the pixels under the destination pixels' centres (columns 0 and 2 of the
  // bottom row: source row 1 of 2 at the centre of a 1-pixel-high target).
  ImageDc small(2, 1);
  ASSERT_TRUE(small.StretchDib(Rect{0, 0, 2, 1}, Rect{0, 0, 3, 2}, up.bits.data(), up.header, up.colors));
  EXPECT_EQ(small.GetBitmap().Pixel(0, 0), Entry(10));
  EXPECT_EQ(small.GetBitmap().Pixel(1, 0), Entry(30));
}

TEST_F(Bitmaps, ThirtyTwoBitBottomUpBitmapsKeepTheirColours) {
  BitmapInfoHeader h;
  h.width = 2;
  h.height = 2;
  h.bitCount = 32;
  // Stored bottom row first: blue, green, red, zero per pixel.
  const uint8_t bits[16] = {255, 0, 0, 0, 0, 255, 0, 0,    // bottom: blue, green
                            0, 0, 255, 0, 10, 20, 30, 0};  // top: red, (30,20,10)
  ImageDc dc(4, 4);
  ASSERT_TRUE(dc.StretchDib(Rect{0, 0, 4, 4}, Rect{0, 0, 2, 2}, bits, h, nullptr));
  EXPECT_EQ(dc.GetBitmap().Pixel(0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(dc.GetBitmap().Pixel(3, 1), MakeRgb(30, 20, 10));
  EXPECT_EQ(dc.GetBitmap().Pixel(1, 3), MakeRgb(0, 0, 255));
  EXPECT_EQ(dc.GetBitmap().Pixel(2, 2), MakeRgb(0, 255, 0));

  const lv::Bitmap made = lv::Bitmap::FromDib(h, bits, nullptr);
  ASSERT_EQ(made.Width(), 2);
  ASSERT_EQ(made.Height(), 2);
  EXPECT_EQ(made.Pixel(0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(made.Pixel(0, 1), MakeRgb(0, 0, 255));
}

TEST_F(Bitmaps, CopiesBetweenSurfacesAreExactAndClipped) {
  ImageDc source(6, 6, MakeRgb(1, 2, 3));
  source.FillSolidRect(Rect{2, 2, 4, 4}, MakeRgb(200, 100, 50));
  ImageDc target(8, 8);
  ASSERT_TRUE(target.BitBlt(Rect{5, 5, 11, 11}, source.GetBitmap(), Point{0, 0}));
  EXPECT_EQ(target.GetBitmap().Pixel(4, 4), 0u);
  EXPECT_EQ(target.GetBitmap().Pixel(5, 5), MakeRgb(1, 2, 3));
  EXPECT_EQ(target.GetBitmap().Pixel(7, 7), MakeRgb(200, 100, 50));
  // Source offset: the part starting at (2,2).
  ImageDc part(2, 2);
  ASSERT_TRUE(part.BitBlt(Rect{0, 0, 2, 2}, source.GetBitmap(), Point{2, 2}));
  EXPECT_EQ(lv_test::LitPixels(part, MakeRgb(200, 100, 50)).size(), 0u);
  EXPECT_FALSE(part.BitBlt(Rect{0, 0, 2, 2}, lv::Bitmap(), Point{0, 0}));

  // A surface copied onto itself reads the pixels as they were before.
  ImageDc self(4, 1);
  self.GetBitmap().SetPixel(0, 0, MakeRgb(9, 9, 9));
  ASSERT_TRUE(self.BitBlt(Rect{1, 0, 4, 1}, self.GetBitmap(), Point{0, 0}));
  EXPECT_EQ(self.GetBitmap().Pixel(1, 0), MakeRgb(9, 9, 9));
  EXPECT_EQ(self.GetBitmap().Pixel(2, 0), 0u);
}

TEST_F(Bitmaps, ResizedSurfaceKeepsTheDrawingState) {
  ImageDc dc(4, 4, MakeRgb(5, 5, 5));
  dc.SetTextColor(MakeRgb(1, 2, 3));
  ASSERT_TRUE(dc.Resize(7, 3, MakeRgb(9, 9, 9)));
  EXPECT_EQ(dc.Width(), 7);
  EXPECT_EQ(dc.Height(), 3);
  EXPECT_EQ(dc.GetBitmap().Pixel(6, 2), MakeRgb(9, 9, 9));
  EXPECT_EQ(dc.GetTextColor(), MakeRgb(1, 2, 3));
  EXPECT_FALSE(dc.Resize(0, 3));
  EXPECT_EQ(dc.Width(), 7);
}

TEST_F(Bitmaps, PicturesAreWrittenAndReadBack) {
  ImageDc dc(5, 3, MakeRgb(0, 160, 50));
  dc.GetBitmap().SetPixel(4, 2, MakeRgb(255, 255, 0));
  const std::string folder = lv_test::GalleryFolder("platform");
  for (const char* name : {"/roundtrip.png", "/roundtrip.bmp"}) {
    const std::string path = folder + name;
    ASSERT_TRUE(dc.GetBitmap().Save(path)) << path;
    const lv::Bitmap back = lv::Bitmap::Load(path);
    EXPECT_TRUE(back.SamePixels(dc.GetBitmap())) << path;
    std::filesystem::remove(path);
  }
  EXPECT_FALSE(dc.GetBitmap().Save("/nonexistent-folder/x.png"));
  EXPECT_TRUE(lv::Bitmap::Load("/nonexistent-folder/x.png").IsNull());
}

TEST_F(Bitmaps, HugeDestinationsDrawOnlyTheVisiblePart) {
  Dib8 up(2);
  ImageDc dc(6, 4);
  // 3 x 2 stretched over a destination 2^31 - 2 pixels wide: the left third
  // of it covers the surface, all of it the bottom source row's first pixel
  // in the lower half.
  ASSERT_TRUE(dc.StretchDib(Rect{-2, -2, INT32_MAX - 3, 2}, Rect{0, 0, 3, 2}, up.bits.data(), up.header, up.colors));
  EXPECT_EQ(dc.GetBitmap().Pixel(0, 0), Entry(10));
  EXPECT_EQ(dc.GetBitmap().Pixel(5, 1), Entry(10));
  EXPECT_EQ(dc.GetBitmap().Pixel(0, 2), 0u);
  ImageDc copy(4, 4);
  ImageDc source(2, 2, MakeRgb(7, 7, 7));
  ASSERT_TRUE(copy.BitBlt(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, source.GetBitmap(), Point{0, 0}));
  EXPECT_EQ(copy.GetBitmap().Pixel(1, 1), 0u);
}

}  // namespace
