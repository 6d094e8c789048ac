// The plot palette and the colour schemes.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <vector>

#include "support/errors.h"
#include "plots/colors.h"

namespace {

using lv::MakeRgb;

// The named colours and a few others.
TEST(CWColors, SpotColours) {
  const struct {
    int index;
    lv::Color rgb;
  } spots[] = {
      {0, MakeRgb(0, 0, 0)},         // black
      {1, MakeRgb(255, 255, 255)},   // white
      {2, MakeRgb(128, 128, 128)},   // grey
      {3, MakeRgb(255, 0, 0)},       // red
      {4, MakeRgb(0, 160, 50)},      // green
      {5, MakeRgb(0, 0, 255)},       // blue
      {8, MakeRgb(120, 140, 255)},   // light blue
      {9, MakeRgb(255, 255, 0)},     // yellow
      {10, MakeRgb(196, 196, 196)},  // light grey
      {16, MakeRgb(254, 100, 0)},    // orange
      {17, MakeRgb(127, 50, 0)},
  };
  for (const auto& c : spots) {
    EXPECT_EQ(CWColors::GetRGBColor(c.index), c.rgb) << c.index;
  }
  // The COLORREF layout: red in the low byte.
  EXPECT_EQ(CWColors::GetRGBColor(17), 0x0000327Fu);
}

// Eighteen colours, no two alike, each a COLORREF (0x00BBGGRR).
TEST(CWColors, EighteenDistinctColours) {
  EXPECT_EQ(CWColors::kNumColors, 18);
  std::set<lv::Color> seen;
  for (int i = 0; i < CWColors::kNumColors; ++i) {
    const lv::Color c = CWColors::GetRGBColor(i);
    EXPECT_EQ(c >> 24, 0u) << i;
    EXPECT_TRUE(seen.insert(c).second) << "colour " << i << " repeats an earlier one";
  }
  EXPECT_EQ(seen.size(), 18u);
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

// Both schemes draw only palette colours, and nothing but the background in
// the background colour.
TEST(CWColorScheme, SchemesUsePaletteColoursAndStandOutFromTheBackground) {
  for (const CWColorScheme& s : {CWColorScheme::Screen(), CWColorScheme::Paper()}) {
    std::vector<int> drawn = {s.axesLabel, s.notation, s.grid, s.memory[0], s.memory[1]};
    drawn.insert(drawn.end(), std::begin(s.dataset), std::end(s.dataset));
    EXPECT_GE(s.background, 0);
    EXPECT_LT(s.background, CWColors::kNumColors);
    EXPECT_EQ(s.offScreenBackground, CWColors::GetRGBColor(s.background));
    for (int c : drawn) {
      EXPECT_GE(c, 0);
      EXPECT_LT(c, CWColors::kNumColors);
      EXPECT_NE(c, s.background);
    }
  }
}

}  // namespace
