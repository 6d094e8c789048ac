// The location tool's value window (placement, value lines, errors) and the
// severity message box, on the offscreen platform.
#include <QMessageBox>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/gui/dialogs.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "platform/text.h"
#include "plots/windows/value_window.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

namespace hooks = lv::test_hooks;

class ValueWindow : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

struct PlaceCase {
  int32_t x, y, parentHeight;
  lv::Rect expected;
};

TEST_F(ValueWindow, ShowsBesideTheMouseAndInsideTheParent) {
  // The window is 185 x 43: left of the mouse when it fits, else right of
  // it; vertically centred on the mouse, at least 1, and above the bottom.
  const PlaceCase cases[] = {
      {20, 200, 400, {33, 179, 218, 222}},      // 20 px from the left: right of the mouse
      {300, 200, 400, {103, 179, 288, 222}},    // left of the mouse
      {197, 200, 400, {0, 179, 185, 222}},      // exactly fits on the left
      {196, 200, 400, {209, 179, 394, 222}},    // one pixel short: right
      {300, 5, 400, {103, 1, 288, 44}},         // near the top: top = 1
      {300, 390, 400, {103, 356, 288, 399}},    // near the bottom: kept inside
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    CWPlot2DValueWndw w;
    w.CreateValueWindow(nullptr);
    EXPECT_FALSE(w.IsVisible());
    EXPECT_EQ(w.Geometry(), (lv::Rect{100, 100, 285, 143}));
    w.ShowNearInHeight(c.x, c.y, c.parentHeight);
    EXPECT_TRUE(w.IsVisible());
    EXPECT_EQ(w.Geometry(), c.expected);
    EXPECT_EQ(w.mouseX, c.x);
    EXPECT_EQ(w.mouseY, c.y);
    w.Hide();
    EXPECT_FALSE(w.IsVisible());
  }
}

struct LineCase {
  int32_t xType;
  double x;
  int32_t yType;
  double y;
  const wchar_t* xLine;
  const wchar_t* yLine;
};

TEST_F(ValueWindow, LinesFollowTheAxisTypes) {
  const LineCase cases[] = {
      // A frequency above 1 GHz: six decimals in GHz.
      {2, 2.45e9, 12, -31.25, L"Frequency (GHz) = 2.450000", nullptr},
      {2, 2.5e6, 13, -12.345, L"Frequency (MHz) = 2.500", L"Magnitude (dBm) = -12.35"},
      {0, 1.5e-6, 0, 2e-6, nullptr, nullptr},
  };
  for (const LineCase& c : cases) {
    CWPlot2DValueWndw w;
    w.CreateValueWindow(nullptr);
    w.xAxisType = c.xType;
    w.xValue = c.x;
    w.yAxisType = c.yType;
    w.yValue = c.y;
    std::wstring yLine, xLine;
    w.MakeLines(yLine, xLine);
    if (c.xLine != nullptr) {
      EXPECT_EQ(xLine, c.xLine);
    }
    if (c.yLine != nullptr) {
      EXPECT_EQ(yLine, c.yLine);
    }
    EXPECT_FALSE(xLine.empty());
    EXPECT_FALSE(yLine.empty());
  }
  // Time axes show nine decimals of their unit.
  CWPlot2DValueWndw w;
  w.xAxisType = 0;
  w.xValue = 1.5e-6;
  w.yAxisType = 6;
  w.yValue = 0.25;
  std::wstring yLine, xLine;
  w.MakeLines(yLine, xLine);
  EXPECT_NE(xLine.find(L"1.500000000"), std::wstring::npos) << lv::WideToUtf8(xLine);
  EXPECT_NE(yLine.find(L"= 0.250"), std::wstring::npos) << lv::WideToUtf8(yLine);
}

TEST_F(ValueWindow, PaintsItsLinesAndShowsAnAxisTypeError) {
  lv::ImageDc dc(400, 300, lv::MakeRgb(0, 0, 0));
  CWPlot2DValueWndw w;
  w.CreateValueWindow(nullptr);
  w.xAxisType = 2;
  w.xValue = 2.45e9;
  w.yAxisType = 12;
  w.yValue = -20.0;
  // Hidden: nothing drawn.
  w.OnPaint(dc);
  EXPECT_EQ(dc.GetBitmap().Pixel(150, 120), lv::MakeRgb(0, 0, 0));
  w.ShowNearInHeight(300, 150, 300);
  w.OnPaint(dc);
  const lv::Rect g = w.Geometry();
  // The client is the window colour, with dark text pixels in it.
  EXPECT_EQ(dc.GetBitmap().Pixel(g.right - 5, g.bottom - 5), lv::kWindowColor);
  int dark = 0;
  for (int y = g.top + 3; y < g.bottom - 3; ++y) {
    for (int x = g.left + 3; x < g.right - 3; ++x) {
      dark += lv::RedOf(dc.GetBitmap().Pixel(x, y)) < 100 ? 1 : 0;
    }
  }
  EXPECT_GT(dark, 40);
  // Outside the window the picture stays.
  EXPECT_EQ(dc.GetBitmap().Pixel(g.left - 1, g.top), lv::MakeRgb(0, 0, 0));

  // An axis type without a label goes to the error dialog; the window stays.
  lv_test::ShownErrors errors;
  w.xAxisType = 3;
  w.OnPaint(dc);
  ASSERT_EQ(errors.Entries().size(), 1u);
  EXPECT_EQ(errors.Entries()[0].message, "Invalid axis type.");
  EXPECT_NE(errors.Entries()[0].callStack.find("CWPlot2DValueWndw::OnPaint"), std::string::npos);
  EXPECT_TRUE(w.IsVisible());
  const std::string png = lv_test::GalleryFolder("plots_windows") + "/value_window.png";
  lv::ImageDc small(400, 300, lv::kWindowColor);
  w.xAxisType = 2;
  w.OnPaint(small);
  EXPECT_TRUE(small.GetBitmap().Save(png));
}

TEST_F(ValueWindow, ShowNearUsesTheParentsClientHeight) {
  ASSERT_TRUE(lv::StartGuiRuntime());
  {
    lv::FrameWindow frame(L"Value frame", lv::Rect{0, 0, 900, 700});
    lv::ChildWindow child(frame, L"Value parent", lv::Rect{10, 10, 410, 310});
    CWPlot2DValueWndw w;
    w.CreateValueWindow(&child);
    const int32_t h = child.ClientSize().cy;
    ASSERT_GT(h, 100);
    w.ShowNear(50, h - 3);
    EXPECT_EQ(w.Geometry().bottom, h - 1);
    EXPECT_EQ(w.Geometry().left, 63);
  }
  lv::ShutDownGuiRuntime();
}

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
  }
  void TearDown() override {
    hooks::ClearAnswers();
    hooks::SetModalShownObserver(nullptr);
    lv::ShutDownGuiRuntime();
  }
};

TEST_F(MessageBoxes, SeverityChoosesCaptionAndIconOnTop) {
  struct Case {
    int32_t severity;
    const wchar_t* caption;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {{1, L"Warning", QMessageBox::Warning},
                        {2, L"Error", QMessageBox::Critical},
                        {0, L"Information", QMessageBox::Information},
                        {7, L"Information", QMessageBox::Information}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.severity);
    std::wstring title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool onTop = false;
    int shown = 0;
    hooks::SetModalShownObserver([&](hooks::ShownModal& m) {
      ++shown;
      title = m.Title();
      auto* box = qobject_cast<QMessageBox*>(static_cast<QWidget*>(m.Widget()));
      ASSERT_NE(box, nullptr);
      icon = box->icon();
      text = box->text();
      onTop = (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
    });
    hooks::PushMessageBoxAnswer(lv::kIdOk);
    CQMessageBox box(c.severity, "Colour map \xE9tendue not found.");
    box.Show(nullptr);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(title, c.caption);
    EXPECT_EQ(icon, c.icon);
    EXPECT_TRUE(onTop);
    EXPECT_EQ(text, QString::fromUtf8("Colour map \xC3\xA9tendue not found."));
    for (int i = 0; i < 10; ++i) {
      lv::ServeGuiEvents(2);  // the finished box goes away
    }
  }
  // No text: nothing shown.
  int shown = 0;
  hooks::SetModalShownObserver([&](hooks::ShownModal&) { ++shown; });
  CQMessageBox empty(2, nullptr);
  EXPECT_EQ(empty.Text(), nullptr);
  empty.Show(nullptr);
  EXPECT_EQ(shown, 0);
}

}  // namespace
