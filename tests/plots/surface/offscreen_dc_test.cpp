// The off-screen surface of the image plots: size checks, a resize that keeps
// or clears the picture, fills, and a copy of the finished picture.
#include <gtest/gtest.h>

#include "support/errors.h"
#include "plots/colors.h"
#include "plots/offscreen_dc.h"
#include "support/gui_app.h"

namespace {

using lv::MakeRgb;

class OffScreen : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(OffScreen, InitializeMakesAClearedSurface) {
  CWOffScreenDC off;
  off.Initialize(30, 20);
  EXPECT_EQ(off.GetWidth(), 30);
  EXPECT_EQ(off.GetHeight(), 20);
  EXPECT_EQ(off.GetBitmap().Width(), 30);
  EXPECT_EQ(off.GetBitmap().Pixel(29, 19), lv::kWindowColor);
  for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-1, -1}}) {
    const lv_test::CaughtError r = lv_test::Catch([&off, w = w, h = h] { off.Initialize(w, h); });
    EXPECT_EQ(r.message, "Invalid number of rows.") << w << "x" << h;
    EXPECT_NE(r.callStack.find("CWOffScreenDC::Initialize"), std::string::npos);
  }
  EXPECT_EQ(off.GetWidth(), 30);
}

TEST_F(OffScreen, SetSizeKeepsThePictureOnlyAtTheSameSize) {
  CWOffScreenDC off;
  off.Initialize(40, 30);
  off.FillWithColor(CWColors::kGreen);
  off.GetDC().SetTextColor(MakeRgb(1, 2, 3));
  off.SetSize(40, 30);
  EXPECT_EQ(off.GetBitmap().Pixel(5, 5), MakeRgb(0, 160, 50));
  off.SetSize(41, 30);
  EXPECT_EQ(off.GetWidth(), 41);
  EXPECT_EQ(off.GetBitmap().Width(), 41);
  EXPECT_EQ(off.GetBitmap().Pixel(5, 5), lv::kWindowColor);
  EXPECT_EQ(off.GetDC().GetTextColor(), MakeRgb(1, 2, 3));

  EXPECT_EQ(lv_test::Catch([&off] { off.SetSize(0, 30); }).message, "Invalid width.");
  EXPECT_EQ(lv_test::Catch([&off] { off.SetSize(10, 0); }).message, "Invalid height.");
  EXPECT_EQ(lv_test::Catch([&off] { off.SetSize(-1, -1); }).message, "Invalid width.");
  EXPECT_EQ(off.GetWidth(), 41);
}

TEST_F(OffScreen, FillsAndTheFinishedPictureCopiedToAWindowSurface) {
  CWOffScreenDC off;
  off.Initialize(16, 12);
  off.FillWithColor(CWColors::kOrange);
  EXPECT_EQ(off.GetBitmap().Pixel(15, 11), MakeRgb(254, 100, 0));
  const lv_test::CaughtError r = lv_test::Catch([&off] { off.FillWithColor(18); });
  EXPECT_EQ(r.message, "Invalid color.");
  EXPECT_NE(r.callStack.find("CWColors::GetRGBColor"), std::string::npos);
  EXPECT_NE(r.callStack.find("CWOffScreenDC::FillWithColor"), std::string::npos);
  EXPECT_EQ(off.GetBitmap().Pixel(0, 0), MakeRgb(254, 100, 0));

  off.GetDC().FillSolidRect(lv::Rect{4, 4, 8, 8}, MakeRgb(0, 0, 255));
  lv::ImageDc window(40, 40);
  window.BitBlt(lv::Rect{10, 10, 26, 22}, off.GetBitmap(), lv::Point{0, 0});
  EXPECT_EQ(window.GetBitmap().Pixel(10, 10), MakeRgb(254, 100, 0));
  EXPECT_EQ(window.GetBitmap().Pixel(14, 14), MakeRgb(0, 0, 255));
  EXPECT_EQ(window.GetBitmap().Pixel(26, 22), 0u);

  off.ClearToWindowColor();
  EXPECT_EQ(off.GetBitmap().Pixel(5, 5), lv::kWindowColor);
}

}  // namespace
