// The plot palette and the colour schemes.
#include <gtest/gtest.h>

#include "support/errors.h"
#include "plots/colors.h"

namespace {

using lv::MakeRgb;

TEST(CWColors, PaletteHoldsTheEighteenPlotColours) {
  const lv::Color expected[18] = {
      MakeRgb(0, 0, 0),     MakeRgb(255, 255, 255), MakeRgb(128, 128, 128), MakeRgb(255, 0, 0),
      MakeRgb(0, 160, 50),  MakeRgb(0, 0, 255),     MakeRgb(48, 48, 128),   MakeRgb(70, 80, 255),
      MakeRgb(120, 140, 255), MakeRgb(255, 255, 0), MakeRgb(196, 196, 196), MakeRgb(96, 96, 96),
      MakeRgb(100, 100, 0), MakeRgb(64, 64, 64),    MakeRgb(48, 128, 48),   MakeRgb(36, 96, 36),
      MakeRgb(254, 100, 0), MakeRgb(127, 50, 0)};
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(CWColors::GetRGBColor(i), expected[i]) << i;
  }
  // The COLORREF layout: red in the low byte.
  EXPECT_EQ(CWColors::GetRGBColor(17), 0x0000327Fu);
}

TEST(CWColors, IndicesOutsideThePaletteAreRefused) {
  for (int bad : {18, -1, 1000}) {
    const lv_test::CaughtError r = lv_test::Catch([bad] { CWColors::GetRGBColor(bad); });
    EXPECT_TRUE(r.thrown) << bad;
    EXPECT_EQ(r.message, "Invalid color.");
    EXPECT_NE(r.callStack.find("CWColors::GetRGBColor"), std::string::npos);
  }
}

TEST(CWColorScheme, ScreenAndPaperSchemes) {
  const CWColorScheme screen = CWColorScheme::Screen();
  const CWColorScheme paper = CWColorScheme::Paper();
  EXPECT_EQ(screen.background, 0);
  EXPECT_EQ(screen.axesLabel, 10);
  EXPECT_EQ(screen.notation, 1);
  EXPECT_EQ(paper.background, 1);
  EXPECT_EQ(paper.axesLabel, 0);
  EXPECT_EQ(paper.notation, 0);
  const int screenSets[8] = {9, 4, 3, 5, 5, 5, 5, 5};
  const int paperSets[8] = {5, 4, 3, 9, 5, 5, 5, 5};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(screen.dataset[i], screenSets[i]) << i;
    EXPECT_EQ(paper.dataset[i], paperSets[i]) << i;
  }
  for (const CWColorScheme& s : {screen, paper}) {
    EXPECT_EQ(s.grid, 2);
    EXPECT_EQ(s.memory[0], 16);
    EXPECT_EQ(s.memory[1], 8);
  }
  EXPECT_EQ(screen.offScreenBackground, MakeRgb(0, 0, 0));
  EXPECT_EQ(paper.offScreenBackground, MakeRgb(255, 255, 255));
}

}  // namespace
