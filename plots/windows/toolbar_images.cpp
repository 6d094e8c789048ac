#include "plots/windows/toolbar_images.h"

#include <map>

#include "platform/gui/image_dc.h"

namespace {

constexpr lv::Color kFace = lv::MakeRgb(240, 240, 240);
constexpr lv::Color kInk = lv::MakeRgb(32, 32, 32);
constexpr lv::Color kBlue = lv::MakeRgb(0, 90, 180);
constexpr lv::Color kRed = lv::MakeRgb(220, 0, 0);
constexpr lv::Color kGold = lv::MakeRgb(190, 140, 20);

void Line(lv::ImageDc& dc, int x0, int y0, int x1, int y1) {
  dc.MoveTo(lv::Point{x0, y0});
  dc.LineTo(lv::Point{x1, y1});
}

void Arrow(lv::ImageDc& dc, int x0, int y0, int x1, int y1) {
  Line(dc, x0, y0, x1, y1);
  // Heads at both ends.
  if (x0 == x1) {
    Line(dc, x0 - 3, y0 + 3, x0, y0);
    Line(dc, x0 + 3, y0 + 3, x0, y0);
    Line(dc, x1 - 3, y1 - 3, x1, y1);
    Line(dc, x1 + 3, y1 - 3, x1, y1);
  } else {
    Line(dc, x0 + 3, y0 - 3, x0, y0);
    Line(dc, x0 + 3, y0 + 3, x0, y0);
    Line(dc, x1 - 3, y1 - 3, x1, y1);
    Line(dc, x1 - 3, y1 + 3, x1, y1);
  }
}

void Padlock(lv::ImageDc& dc, int x, int y) {
  dc.SelectPen(lv::Pen::Solid(kGold, 0));
  dc.SelectBrush(lv::Brush::Solid(kGold));
  dc.Rectangle(lv::Rect{x, y + 5, x + 10, y + 13});
  dc.SelectBrush(lv::Brush::Null());
  Line(dc, x + 2, y + 5, x + 2, y + 1);
  Line(dc, x + 2, y + 1, x + 8, y + 1);
  Line(dc, x + 7, y + 1, x + 7, y + 5);
}

lv::Bitmap Draw(uint32_t id) {
  lv::ImageDc dc(24, 24, kFace);
  dc.SelectPen(lv::Pen::Solid(kInk, 0));
  dc.SelectBrush(lv::Brush::Null());
  switch (id) {
    case 40034:  // location: cross hairs
      Line(dc, 12, 2, 12, 9);
      Line(dc, 12, 15, 12, 22);
      Line(dc, 2, 12, 9, 12);
      Line(dc, 15, 12, 22, 12);
      dc.SelectPen(lv::Pen::Solid(kRed, 0));
      dc.Rectangle(lv::Rect{10, 10, 15, 15});
      break;
    case 40035:  // vertical zoom
      Line(dc, 6, 3, 19, 3);
      Line(dc, 6, 20, 19, 20);
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Arrow(dc, 12, 5, 12, 19);
      break;
    case 40036:  // horizontal zoom
      Line(dc, 3, 6, 3, 19);
      Line(dc, 20, 6, 20, 19);
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Arrow(dc, 5, 12, 19, 12);
      break;
    case 40037:  // both axes: a drag rectangle
      dc.Rectangle(lv::Rect{3, 5, 21, 19});
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Arrow(dc, 12, 7, 12, 17);
      Arrow(dc, 5, 12, 19, 12);
      break;
    case 40041:  // axes limits: axes with ticks
      Line(dc, 5, 3, 5, 19);
      Line(dc, 5, 19, 22, 19);
      for (int t = 5; t <= 17; t += 4) {
        Line(dc, 3, t, 5, t);
      }
      for (int t = 9; t <= 21; t += 4) {
        Line(dc, t, 19, t, 22);
      }
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Line(dc, 7, 15, 12, 8);
      Line(dc, 12, 8, 16, 12);
      Line(dc, 16, 12, 21, 5);
      break;
    case 40038:  // lock the vertical scale
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Arrow(dc, 5, 3, 5, 21);
      Padlock(dc, 10, 6);
      break;
    case 40039:  // lock the horizontal scale
      dc.SelectPen(lv::Pen::Solid(kBlue, 0));
      Arrow(dc, 3, 20, 21, 20);
      Padlock(dc, 7, 2);
      break;
    case 40047: {  // marker on/off: a diamond
      dc.SelectPen(lv::Pen::Solid(kRed, 2));
      const lv::Point d[5] = {{6, 12}, {12, 6}, {18, 12}, {12, 18}, {6, 12}};
      dc.Polyline(d, 5);
      break;
    }
    case 40048: {  // place marker: a diamond with a pointer
      dc.SelectPen(lv::Pen::Solid(kRed, 2));
      const lv::Point d[5] = {{8, 15}, {12, 11}, {16, 15}, {12, 19}, {8, 15}};
      dc.Polyline(d, 5);
      dc.SelectPen(lv::Pen::Solid(kInk, 0));
      Arrow(dc, 12, 2, 12, 9);
      break;
    }
    default:
      break;
  }
  return dc.GetBitmap();
}

}  // namespace

const lv::Bitmap& ToolbarImage(uint32_t commandId) {
  thread_local std::map<uint32_t, lv::Bitmap> images;
  auto it = images.find(commandId);
  if (it == images.end()) {
    it = images.emplace(commandId, Draw(commandId)).first;
  }
  return it->second;
}
