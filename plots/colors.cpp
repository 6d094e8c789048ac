#include "plots/colors.h"

#include "core/error.h"

namespace {

constexpr lv::Color kPalette[CWColors::kNumColors] = {
    lv::MakeRgb(0, 0, 0),       lv::MakeRgb(255, 255, 255), lv::MakeRgb(128, 128, 128),
    lv::MakeRgb(255, 0, 0),     lv::MakeRgb(0, 160, 50),    lv::MakeRgb(0, 0, 255),
    lv::MakeRgb(48, 48, 128),   lv::MakeRgb(70, 80, 255),   lv::MakeRgb(120, 140, 255),
    lv::MakeRgb(255, 255, 0),   lv::MakeRgb(196, 196, 196), lv::MakeRgb(96, 96, 96),
    lv::MakeRgb(100, 100, 0),   lv::MakeRgb(64, 64, 64),    lv::MakeRgb(48, 128, 48),
    lv::MakeRgb(36, 96, 36),    lv::MakeRgb(254, 100, 0),   lv::MakeRgb(127, 50, 0),
};

}  // namespace

lv::Color CWColors::GetRGBColor(int32_t index) {
  if (index < 0 || index >= kNumColors) {
    throw new CQError("Invalid color.", "CWColors::GetRGBColor");
  }
  return kPalette[index];
}

CWColorScheme CWColorScheme::Screen() {
  return CWColorScheme{CWColors::kBlack,
                       CWColors::kLightGrey,
                       CWColors::kWhite,
                       {CWColors::kYellow, CWColors::kGreen, CWColors::kRed, CWColors::kBlue, CWColors::kBlue,
                        CWColors::kBlue, CWColors::kBlue, CWColors::kBlue},
                       CWColors::kGrey,
                       {CWColors::kOrange, CWColors::kLightBlue},
                       lv::MakeRgb(0, 0, 0)};
}

CWColorScheme CWColorScheme::Paper() {
  return CWColorScheme{CWColors::kWhite,
                       CWColors::kBlack,
                       CWColors::kBlack,
                       {CWColors::kBlue, CWColors::kGreen, CWColors::kRed, CWColors::kYellow, CWColors::kBlue,
                        CWColors::kBlue, CWColors::kBlue, CWColors::kBlue},
                       CWColors::kGrey,
                       {CWColors::kOrange, CWColors::kLightBlue},
                       lv::MakeRgb(255, 255, 255)};
}
