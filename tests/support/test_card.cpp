#include "support/test_card.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_dc.h"

namespace lv_test {

using lv::BkMode;
using lv::Brush;
using lv::HAlign;
using lv::HatchStyle;
using lv::MakeRgb;
using lv::Pen;
using lv::Point;
using lv::Rect;
using lv::TextAlign;
using lv::VAlign;

void DrawTestCard(lv::DeviceContext& dc) {
  const lv::Color white = MakeRgb(255, 255, 255);
  const lv::Color grey = MakeRgb(128, 128, 128);
  dc.FillSolidRect(Rect{0, 0, kTestCardWidth, kTestCardHeight}, MakeRgb(0, 0, 0));

  // A fan of lines from one centre, every direction, thinnest pen.
  dc.SelectPen(Pen::Solid(MakeRgb(255, 255, 0), 0));
  const Point centre{90, 90};
  for (int k = 0; k < 48; ++k) {
    const double a = k * 2.0 * 3.14159265358979323846 / 48.0;
    dc.MoveTo(centre);
    dc.LineTo(Point{centre.x + static_cast<int>(std::lround(80 * std::cos(a))),
                    centre.y + static_cast<int>(std::lround(80 * std::sin(a)))});
  }

  // A polyline zig-zag and a wider pen.
  std::vector<Point> zig;
  for (int k = 0; k <= 20; ++k) {
    zig.push_back(Point{190 + k * 13, (k % 2) ? 20 : 60});
  }
  dc.SelectPen(Pen::Solid(MakeRgb(0, 160, 50), 0));
  dc.Polyline(zig.data(), static_cast<int32_t>(zig.size()));
  dc.SelectPen(Pen::Solid(MakeRgb(255, 0, 0), 3));
  dc.MoveTo(Point{190, 80});
  dc.LineTo(Point{450, 100});

  // The four hatches, transparent then opaque.
  const HatchStyle hatches[4] = {HatchStyle::kDiagonalCross, HatchStyle::kBackwardDiagonal,
                                 HatchStyle::kForwardDiagonal, HatchStyle::kHorizontal};
  dc.SetBkColor(MakeRgb(48, 48, 128));
  for (int k = 0; k < 4; ++k) {
    dc.SetBkMode(BkMode::kTransparent);
    dc.FillRect(Rect{190 + k * 70, 115, 250 + k * 70, 150}, Brush::Hatch(hatches[k], MakeRgb(120, 140, 255)));
    dc.SetBkMode(BkMode::kOpaque);
    dc.FillRect(Rect{190 + k * 70, 155, 250 + k * 70, 190}, Brush::Hatch(hatches[k], white));
  }

  // Rectangles: outline and fill, null pen.
  dc.SelectPen(Pen::Solid(white, 0));
  dc.SelectBrush(Brush::Solid(MakeRgb(254, 100, 0)));
  dc.Rectangle(Rect{20, 190, 80, 230});
  dc.SelectPen(Pen::Null());
  dc.Rectangle(Rect{90, 190, 150, 230});

  // Text: every alignment around marked reference points.
  dc.SetBkMode(BkMode::kTransparent);
  dc.SelectFont(lv::NormalFont());
  const HAlign hs[3] = {HAlign::kLeft, HAlign::kCenter, HAlign::kRight};
  const VAlign vs[3] = {VAlign::kTop, VAlign::kBaseline, VAlign::kBottom};
  const wchar_t* names[3][3] = {{L"Left top", L"Left base", L"Left bottom"},
                                {L"Centre top", L"Centre base", L"Centre bottom"},
                                {L"Right top", L"Right base", L"Right bottom"}};
  dc.SetTextColor(MakeRgb(196, 196, 196));
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const Point ref{110 + i * 120, 250 + j * 30};
      dc.FillSolidRect(Rect{ref.x - 2, ref.y, ref.x + 3, ref.y + 1}, MakeRgb(255, 0, 0));
      dc.FillSolidRect(Rect{ref.x, ref.y - 2, ref.x + 1, ref.y + 3}, MakeRgb(255, 0, 0));
      dc.SetTextAlign(TextAlign{hs[i], vs[j]});
      dc.TextOut(ref.x, ref.y, names[i][j]);
    }
  }
  // Vertical text reading upwards, and the monospace face on an opaque cell.
  dc.SelectFont(lv::VerticalFont());
  dc.SetTextAlign(TextAlign{HAlign::kCenter, VAlign::kBottom});
  dc.SetTextColor(white);
  dc.TextOut(30, 262, L"Magnitude (dBm)");
  dc.SelectFont(lv::MonoFont());
  dc.SetBkMode(BkMode::kOpaque);
  dc.SetBkColor(MakeRgb(48, 128, 48));
  dc.SetTextAlign(TextAlign{HAlign::kLeft, VAlign::kTop});
  dc.TextOut(20, 335, L"Mono 0123456789 -1.25e+06");
  dc.SetBkMode(BkMode::kTransparent);

  // An 8-bit palettised ramp (bottom-up, 10 x 4), stretched without smoothing.
  lv::BitmapInfoHeader header;
  header.width = 10;
  header.height = 4;
  header.bitCount = 8;
  lv::RgbQuad colors[256];
  for (int v = 0; v < 256; ++v) {
    colors[v] = lv::RgbQuad{static_cast<uint8_t>(255 - v), static_cast<uint8_t>(v), static_cast<uint8_t>(v / 2), 0};
  }
  const int64_t row = lv::DibRowBytes(header.width, 8);
  std::vector<uint8_t> bits(static_cast<size_t>(row * header.height));
  for (int y = 0; y < header.height; ++y) {
    for (int x = 0; x < header.width; ++x) {
      bits[static_cast<size_t>(y * row + x)] = static_cast<uint8_t>(x * 25 + y * 8);
    }
  }
  dc.StretchDib(Rect{40, 240, 100, 300}, Rect{0, 0, 10, 4}, bits.data(), header, colors);

  // A 32-bit surface drawn separately and copied in.
  lv::ImageDc other(40, 40, MakeRgb(100, 100, 0));
  other.SelectPen(Pen::Solid(white, 0));
  other.MoveTo(Point{0, 0});
  other.LineTo(Point{40, 40});
  other.FillSolidRect(Rect{25, 5, 35, 15}, MakeRgb(0, 0, 255));
  dc.BitBlt(Rect{420, 200, 460, 240}, other.GetBitmap(), Point{0, 0});

  // Frame of the whole card in grey.
  dc.SelectPen(Pen::Solid(grey, 0));
  dc.SelectBrush(Brush::Null());
  dc.Rectangle(Rect{0, 0, kTestCardWidth, kTestCardHeight});
}

}  // namespace lv_test
