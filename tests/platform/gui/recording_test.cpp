// The recording device context: every call logged in order with its
// arguments, measurements answered like an image's, and a replay that draws
// the same picture as drawing directly.
#include <vector>

#include "dc_fixture.h"
#include "platform/gui/recording_dc.h"
#include "support/test_card.h"

namespace {

using lv::DcOp;
using lv::ImageDc;
using lv::MakeRgb;
using lv::Point;
using lv::RecordingDc;
using lv::Rect;

class Recording : public lv_test::GuiTest {};

TEST_F(Recording, LogsEveryCallInOrderWithItsArguments) {
  RecordingDc rec(lv::Size{100, 50});
  rec.SelectPen(lv::Pen::Solid(MakeRgb(1, 2, 3), 0));
  rec.MoveTo(Point{1, 2});
  rec.LineTo(Point{5, 6});
  const Point pts[3] = {{0, 0}, {3, 3}, {6, 0}};
  EXPECT_TRUE(rec.Polyline(pts, 3));
  rec.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
  rec.TextOut(7, 8, L"abc");
  const lv::Size extent = rec.GetTextExtent(L"abc");
  rec.FillRect(Rect{1, 1, 4, 4}, lv::Brush::Hatch(lv::HatchStyle::kHorizontal, MakeRgb(9, 9, 9)));

  const std::vector<DcOp> expected = {DcOp::kSelectPen,    DcOp::kMoveTo,  DcOp::kLineTo,
                                      DcOp::kPolyline,     DcOp::kSetTextAlign, DcOp::kTextOut,
                                      DcOp::kGetTextExtent, DcOp::kFillRect};
  ASSERT_EQ(rec.Records().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(rec.Records()[i].op, expected[i]) << i << " " << lv::DcOpName(rec.Records()[i].op);
  }
  EXPECT_EQ(rec.Records()[0].pen.color, MakeRgb(1, 2, 3));
  EXPECT_EQ(rec.Records()[2].point, (Point{5, 6}));
  EXPECT_EQ(rec.Records()[3].points.size(), 3u);
  EXPECT_EQ(rec.Records()[5].text, L"abc");
  EXPECT_EQ(rec.Records()[5].point, (Point{7, 8}));
  EXPECT_EQ(rec.Records()[7].brush.hatch, lv::HatchStyle::kHorizontal);
  EXPECT_EQ(rec.Count(DcOp::kPolyline), 1u);
  EXPECT_EQ(rec.DeviceSize(), (lv::Size{100, 50}));
  EXPECT_EQ(rec.GetCurrentPosition(), (Point{5, 6}));

  ImageDc image(10, 10);
  EXPECT_EQ(extent, image.GetTextExtent(L"abc"));
}

TEST_F(Recording, ReplayDrawsTheSamePictureAsDrawingDirectly) {
  ImageDc direct(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
  lv_test::DrawTestCard(direct);

  RecordingDc rec(lv::Size{lv_test::kTestCardWidth, lv_test::kTestCardHeight});
  lv_test::DrawTestCard(rec);
  EXPECT_GT(rec.Count(DcOp::kTextOut), 10u);
  EXPECT_EQ(rec.Count(DcOp::kStretchDib), 1u);
  EXPECT_EQ(rec.Count(DcOp::kBitBlt), 1u);
  ImageDc replayed(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
  rec.Replay(replayed);
  EXPECT_TRUE(replayed.GetBitmap().SamePixels(direct.GetBitmap()));

  // Passing calls on while recording draws the same picture as well.
  ImageDc forwarded(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
  RecordingDc tee(lv::Size{lv_test::kTestCardWidth, lv_test::kTestCardHeight}, &forwarded);
  lv_test::DrawTestCard(tee);
  EXPECT_TRUE(forwarded.GetBitmap().SamePixels(direct.GetBitmap()));
}

}  // namespace
