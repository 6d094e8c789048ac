// The plot palette (CWColors) and the colour schemes of the plot windows.
// Plots store palette indices, never RGB values.
#pragma once

#include <cstdint>

#include "platform/gui/drawing.h"

class CWColors {
 public:
  static constexpr int32_t kNumColors = 18;

  // Named indices of the palette.
  static constexpr int32_t kBlack = 0;
  static constexpr int32_t kWhite = 1;
  static constexpr int32_t kGrey = 2;
  static constexpr int32_t kRed = 3;
  static constexpr int32_t kGreen = 4;
  static constexpr int32_t kBlue = 5;
  static constexpr int32_t kNavy = 6;
  static constexpr int32_t kMediumBlue = 7;
  static constexpr int32_t kLightBlue = 8;
  static constexpr int32_t kYellow = 9;
  static constexpr int32_t kLightGrey = 10;
  static constexpr int32_t kDarkGrey = 11;
  static constexpr int32_t kOlive = 12;
  static constexpr int32_t kCharcoal = 13;
  static constexpr int32_t kMossGreen = 14;
  static constexpr int32_t kDarkGreen = 15;
  static constexpr int32_t kOrange = 16;
  static constexpr int32_t kBrown = 17;

  // The colour of a palette index (0x00BBGGRR); an index outside 0..17 raises
  // "Invalid color.".
  static lv::Color GetRGBColor(int32_t index);
};

// The colours of a plot window as palette indices.
struct CWColorScheme {
  int32_t background;
  int32_t axesLabel;
  int32_t notation;
  int32_t dataset[8];
  int32_t grid;
  int32_t memory[2];
  lv::Color offScreenBackground;  // background colour of the off-screen device context

  static CWColorScheme Screen();  // the default: light on black
  static CWColorScheme Paper();   // dark on white, for printing
};
