// The plot tool window driven through real mouse events and commands on the
// offscreen platform: toolbar, mouse modes, zoom rules, locks, marker
// read-outs, close box, pop-up menu.
#include <QAction>
#include <QApplication>
#include <QMenu>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "core/numbers.h"
#include "platform/gui/save_file_choice.h"
#include "platform/text.h"
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using A = hooks::MouseAction;
using W = CWPlot2DToolWndw;

TEST_F(ToolWindowTest, ToolbarOfEachKindWithTooltipsAndPressedMode) {
  struct Case {
    int32_t kind;
    std::vector<uint32_t> ids;  // 0: separator
  };
  const Case cases[] = {
      {0, {40034, 0, 40035, 40036, 40037, 40041, 40038, 40039, 0, 40047, 40048}},
      {1, {40034, 0, 40035, 40036, 40037, 40041, 40038, 40039, 0, 40047, 40048}},
      {2, {40034, 0, 40035, 40041, 40038, 0, 40047, 40048}},
      {3, {40034, 0, 40035, 40041, 40038, 0, 40047, 40048}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Make(c.kind);
    const auto& buttons = window_->ToolButtons();
    ASSERT_EQ(buttons.size(), c.ids.size());
    for (size_t i = 0; i < buttons.size(); ++i) {
      EXPECT_EQ(buttons[i].id, c.ids[i]);
      EXPECT_EQ(buttons[i].separator, c.ids[i] == 0);
    }
    const lv::Rect r0 = buttons[0].rect;
    EXPECT_EQ(window_->ToolbarTooltipAt(lv::Point{(r0.left + r0.right) / 2, (r0.top + r0.bottom) / 2}),
              L"Location Tool");
    EXPECT_EQ(window_->ToolbarTooltipAt(lv::Point{5, 700}), L"");
    EXPECT_TRUE(window_->IsButtonPressed(40034));
    EXPECT_FALSE(window_->IsButtonPressed(40035));
    // The off-screen bitmap is the client area less the toolbar column.
    const lv::Size client = window_->Window()->ClientSize();
    EXPECT_EQ(window_->ToolbarWidth(), W::kToolbarWidth);
    EXPECT_EQ(window_->OffScreenBitmap().Width(), client.cx - W::kToolbarWidth);
    EXPECT_EQ(window_->OffScreenBitmap().Height(), client.cy);
    EXPECT_EQ(window_->LastFrame().Width(), client.cx);
    window_.reset();
    Pump();
  }
  // The tooltips of toolbar 216, top to bottom.
  Make(0);
  std::vector<std::wstring> tips;
  for (const auto& b : window_->ToolButtons()) {
    if (!b.separator) tips.push_back(window_->ToolbarTooltipAt(lv::Point{b.rect.left + 2, b.rect.top + 2}));
  }
  EXPECT_EQ(tips, (std::vector<std::wstring>{L"Location Tool", L"Vertical Axis Zoom Tool",
                                              L"Horizontal Axis Zoom Tool", L"Both Axes Zoom Tool",
                                              L"Axes Limits...", L"Lock Vertical Axis Scale",
                                              L"Lock Horizontal Axis Scale", L"Marker On/Off", L"Place Marker"}));
  // The pointer resting on a button shows its tip on the widget; off the
  // toolbar there is none.
  const auto& first = window_->ToolButtons().front();
  Mouse(hooks::MouseAction::kMove, lv::Point{first.rect.left + 2, first.rect.top + 2}, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return hooks::WindowToolTip(Id()) == L"Location Tool"; }))
      << lv::WideToUtf8(hooks::WindowToolTip(Id()));
  Mouse(hooks::MouseAction::kMove, PlotPoint(0.5, 0.5), 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return hooks::WindowToolTip(Id()).empty(); }));
}

TEST_F(ToolWindowTest, ToolbarButtonsChooseModesAndShowPressed) {
  Make(0);
  const auto& b = window_->ToolButtons();
  auto centre = [&](size_t i) { return lv::Point{(b[i].rect.left + b[i].rect.right) / 2, (b[i].rect.top + b[i].rect.bottom) / 2}; };
  const std::pair<size_t, int32_t> modes[] = {{2, 1}, {3, 2}, {4, 3}, {10, 4}, {0, 0}};
  for (auto [index, mode] : modes) {
    Click(centre(index));
    EXPECT_EQ(window_->MouseMode(), mode);
    EXPECT_TRUE(window_->IsButtonPressed(b[index].id));
  }
  // The pressed button is drawn pressed in the frame, the others flat.
  const lv::Bitmap& f = window_->LastFrame();
  EXPECT_NE(f.Pixel(b[0].rect.left + 1, b[0].rect.top + 1), f.Pixel(b[2].rect.left + 1, b[2].rect.top + 1));
}

TEST_F(ToolWindowTest, ClicksInTheToolbarColumnOrTheMarginsChangeNothing) {
  Make(0);
  window_->SetMouseMode(W::kModeMarker);
  const double xMin = window_->xMin, xMax = window_->xMax, yMin = window_->yMin, yMax = window_->yMax;
  const lv::Rect& a = window_->plotArea;
  const int32_t tw = window_->ToolbarWidth();
  const lv::Point points[] = {
      {5, 420},                              // toolbar column below the buttons
      {tw + a.left - 3, a.top + 20},         // left margin
      {tw + a.left + 20, a.bottom + 5},      // bottom margin
      {tw + a.right + 2, a.top + 20},        // right margin
  };
  for (const lv::Point p : points) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    Click(p);
    EXPECT_FALSE(window_->markerOn);
    EXPECT_EQ(window_->MouseMode(), W::kModeMarker);
  }
  // Zoom modes: no drag starts there.
  window_->SetMouseMode(W::kModeBothZoom);
  for (const lv::Point p : points) {
    Drag(p, PlotPoint(0.5, 0.5));
    EXPECT_FALSE(window_->ZoomActive());
    EXPECT_TRUE(window_->xAutoScale);
    EXPECT_TRUE(window_->yAutoScale);
  }
  EXPECT_EQ(window_->xMin, xMin);
  EXPECT_EQ(window_->xMax, xMax);
  EXPECT_EQ(window_->yMin, yMin);
  EXPECT_EQ(window_->yMax, yMax);
}

TEST_F(ToolWindowTest, HorizontalZoomKeepsTimeAndFrequencyValuesAndRoundsOthers) {
  struct Case {
    int32_t kind;
    int32_t xType;
    bool exact;
  };
  const Case cases[] = {{0, 0, true}, {3, 2, true}, {0, 6, false}, {3, 8, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "x type " << c.xType);
    Make(c.kind);
    window_->xAxisType = c.xType;
    window_->Redraw();
    Command(W::kCmdHorizontalZoom);
    const lv::Point from = PlotPoint(0.63, 0.4), to = PlotPoint(0.21, 0.6);
    double x0, y0, x1, y1;
    window_->PixelToData(from.x - window_->ToolbarWidth(), from.y, x0, y0);
    window_->PixelToData(to.x - window_->ToolbarWidth(), to.y, x1, y1);
    const double yMin = window_->yMin, yMax = window_->yMax;
    Mouse(A::kPress, from, 1, 1);
    EXPECT_TRUE(window_->ZoomActive());
    Mouse(A::kMove, to, 0, 1);
    // The tracking rectangle: the dragged x extent, a 3-pixel band below y0.
    EXPECT_EQ(window_->TrackingRect(), (lv::Rect{to.x, from.y, from.x + 1, from.y + 3}));
    Mouse(A::kRelease, to, 1, 0);
    EXPECT_FALSE(window_->ZoomActive());
    EXPECT_FALSE(window_->xAutoScale);
    EXPECT_TRUE(window_->yAutoScale);
    if (c.exact) {
      EXPECT_EQ(window_->xMin, x1);
      EXPECT_EQ(window_->xMax, x0);
    } else {
      double lo = x1, hi = x0;
      CWPlot2D::MakeNiceLimits(lo, hi, 0.0);
      EXPECT_EQ(window_->xMin, lo);
      EXPECT_EQ(window_->xMax, hi);
      EXPECT_LE(window_->xMin, x1);
      EXPECT_GE(window_->xMax, x0);
    }
    (void)yMin;
    (void)yMax;
    window_.reset();
    Pump();
  }
}

TEST_F(ToolWindowTest, VerticalZoomRulesByAxisType) {
  Make(3);  // dBm axis: step 10 when the span exceeds 45 dB
  Command(W::kCmdVerticalZoom);
  const lv::Point from = PlotPoint(0.5, 0.05), to = PlotPoint(0.52, 0.95);
  double x0, y0, x1, y1;
  window_->PixelToData(from.x - window_->ToolbarWidth(), from.y, x0, y0);
  window_->PixelToData(to.x - window_->ToolbarWidth(), to.y, x1, y1);
  ASSERT_GT(y0 - y1, 45.0);
  Mouse(A::kPress, from, 1, 1);
  Mouse(A::kMove, to, 0, 1);
  // A vertical zoom's rectangle: the y extent, a 3-pixel band right of x0.
  EXPECT_EQ(window_->TrackingRect(), (lv::Rect{from.x, from.y, from.x + 3, to.y + 1}));
  Mouse(A::kRelease, to, 1, 0);
  double lo = y1, hi = y0;
  CWPlot2D::MakeNiceLimits(lo, hi, 10.0);
  EXPECT_EQ(window_->yMin, lo);
  EXPECT_EQ(window_->yMax, hi);
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_TRUE(window_->xAutoScale);
}

TEST_F(ToolWindowTest, ZeroHeightVerticalZoomStillLocksWithNiceLimitsAroundTheValue) {
  Make(0);
  Command(W::kCmdVerticalZoom);
  const lv::Point p = PlotPoint(0.4, 0.3);
  double x, y;
  window_->PixelToData(p.x - window_->ToolbarWidth(), p.y, x, y);
  Click(p);
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_LT(window_->yMin, window_->yMax);
  EXPECT_LE(window_->yMin, y);
  EXPECT_GE(window_->yMax, y);
  EXPECT_TRUE(std::isfinite(window_->yMin));
  EXPECT_TRUE(std::isfinite(window_->yMax));
}

TEST_F(ToolWindowTest, BothAxesZoomUsesBothRules) {
  Make(0);
  Command(W::kCmdBothZoom);
  const lv::Point from = PlotPoint(0.2, 0.2), to = PlotPoint(0.6, 0.7);
  double x0, y0, x1, y1;
  window_->PixelToData(from.x - window_->ToolbarWidth(), from.y, x0, y0);
  window_->PixelToData(to.x - window_->ToolbarWidth(), to.y, x1, y1);
  Mouse(A::kPress, from, 1, 1);
  Mouse(A::kMove, to, 0, 1);
  EXPECT_EQ(window_->TrackingRect(), (lv::Rect{from.x, from.y, to.x + 1, to.y + 1}));
  // The drag rectangle is drawn in the frame.
  EXPECT_EQ(window_->LastFrame().Pixel(from.x + 5, from.y), lv::MakeRgb(255, 255, 255));
  Mouse(A::kRelease, to, 1, 0);
  EXPECT_EQ(window_->xMin, x0);  // time axis: as dragged
  EXPECT_EQ(window_->xMax, x1);
  double lo = y1, hi = y0;
  CWPlot2D::MakeNiceLimits(lo, hi, 0.0);
  EXPECT_EQ(window_->yMin, lo);
  EXPECT_EQ(window_->yMax, hi);
  EXPECT_TRUE(window_->TrackingRect().IsEmpty());
}

TEST_F(ToolWindowTest, LockButtonsKeepLimitsWhileDataArrive) {
  Make(0);
  const double yMax = window_->yMax;
  Command(W::kCmdLockVertical);
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_TRUE(window_->IsButtonPressed(W::kCmdLockVertical));
  // Larger data arrive: the locked limits stay.
  std::vector<float> x(100), y(100);
  for (int i = 0; i < 100; ++i) {
    x[i] = static_cast<float>(i * 1e-7);
    y[i] = static_cast<float>(5.0 * std::sin(i * 0.3));
  }
  window_->SetDatasetData(x.data(), y.data(), 100, 1);
  window_->Redraw();
  EXPECT_EQ(window_->yMax, yMax);
  // Released: the next drawing auto-scales again.
  Command(W::kCmdLockVertical);
  EXPECT_TRUE(window_->yAutoScale);
  EXPECT_FALSE(window_->IsButtonPressed(W::kCmdLockVertical));
  EXPECT_GE(window_->yMax, 5.0 * 0.99);
  // The same for x.
  Command(W::kCmdLockHorizontal);
  EXPECT_FALSE(window_->xAutoScale);
  EXPECT_TRUE(window_->IsButtonPressed(W::kCmdLockHorizontal));
  Command(W::kCmdLockHorizontal);
  EXPECT_TRUE(window_->xAutoScale);
}

TEST_F(ToolWindowTest, CloseBoxOnlyHides) {
  Make(0);
  ASSERT_TRUE(hooks::UserClose(Id()));
  ASSERT_TRUE(PumpUntil([&] { return !window_->Window()->IsVisible(); }));
  EXPECT_TRUE(PumpUntil([&] { return !hooks::IsShown(Id()); }));
  EXPECT_NE(window_->Window(), nullptr);
  // Shown again it still works; an always-shown window ignores the close box.
  window_->Window()->Show(true);
  window_->alwaysShown = true;
  ASSERT_TRUE(PumpUntil([&] { return hooks::IsShown(Id()); }));
  ASSERT_TRUE(hooks::UserClose(Id()));
  Pump();
  EXPECT_TRUE(window_->Window()->IsVisible());
}

TEST_F(ToolWindowTest, LocationToolShowsTheValueWindowWhileHeld) {
  Make(3);
  const lv::Point p = PlotPoint(0.05, 0.5);
  Mouse(A::kPress, p, 1, 1);
  EXPECT_TRUE(window_->ValueWindow().IsVisible());
  EXPECT_EQ(window_->ValueWindow().xAxisType, 2);
  EXPECT_EQ(window_->ValueWindow().yAxisType, 13);
  // Near the left edge: right of the mouse.
  EXPECT_EQ(window_->ValueWindow().Geometry().left, p.x + 13);
  Mouse(A::kRelease, p, 1, 0);
  EXPECT_FALSE(window_->ValueWindow().IsVisible());
}

TEST_F(ToolWindowTest, MarkerPlacementAndReadOut) {
  Make(3);
  Command(W::kCmdPlaceMarker);
  const lv::Point p = PlotPoint(0.625, 0.5);
  double x, y;
  window_->PixelToData(p.x - window_->ToolbarWidth(), p.y, x, y);
  Click(p);
  EXPECT_TRUE(window_->markerOn);
  EXPECT_EQ(window_->markerX, x);
  Command(W::kCmdMarkerOnOff);
  EXPECT_FALSE(window_->markerOn);
}

struct ReadOut {
  bool isX;
  int32_t type;
  double value;
  bool complex;
  const wchar_t* text;
};

TEST(ToolWindowReadOut, TextsByAxisType) {
  const ReadOut cases[] = {
      {true, 2, 2.5e6, false, L"2.500000 MHz"},
      {true, 2, 999.0, false, L"999 Hz"},
      {true, 2, 1000.0, false, L"1.000 kHz"},
      {true, 2, 2.45e9, false, L"2.450000000 GHz"},
      {true, 2, -3.5e6, false, L"-3.500000 MHz"},
      {true, 19, 3.14159, false, L"3.14 dB"},
      {false, 12, -3.456, false, L"-3.46 dB"},
      {false, 13, -20.0, false, L"-20.00 dBm"},
      {false, 14, 45.5, false, L"45.50 Deg"},
      {false, 17, 2.5, false, L"2.50 %"},
      {false, 18, 12.0, false, L"12.00 %"},
      {false, 18, 0.05, false, L"5.00e-02 %"},
      {false, 10, 0.0, true, L"(1.500e-01, j-2.000e+00)"},
  };
  for (const ReadOut& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << c.value);
    const std::wstring text = c.isX ? W::MarkerXText(c.type, c.value)
                                    : W::MarkerValueText(c.type, c.value, c.complex, 0.15f, -2.0f);
    EXPECT_EQ(text, c.text) << lv::WideToUtf8(text);
  }
  // Time axes and the SI prefix go through the shared formatters.
  wchar_t expected[64];
  FormatTimeWithUnits(1.25e-6, expected);
  EXPECT_EQ(W::MarkerXText(0, 1.25e-6), expected);
  EXPECT_EQ(W::MarkerValueText(1, 1.25e-6, false, 0, 0), expected);
  FormatWithSIPrefix(1500.0, expected);
  EXPECT_EQ(W::MarkerXText(6, 1500.0), expected);
  EXPECT_EQ(W::MarkerValueText(10, 1500.0, false, 0, 0), expected);
}

TEST_F(ToolWindowTest, RightClickOpensThePopupMenuWithItsChecks) {
  Make(0);
  window_->memoryShown[1] = true;
  Mouse(A::kPress, PlotPoint(0.5, 0.5), 2, 2);
  QMenu* menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }));
  QStringList texts;
  QAction* memory1 = nullptr;
  for (QAction* a : menu->actions()) {
    texts << (a->isSeparator() ? QStringLiteral("-") : (a->isChecked() ? QStringLiteral("[x] ") : QString()) + a->text());
    if (a->text() == QStringLiteral("Memory 1 On")) memory1 = a;
  }
  EXPECT_EQ(texts, (QStringList{"Copy Image", "Save Image...", "Print Image...", "-", "Save Formatted Data...", "-",
                                "[x] Screen Color Scheme", "Paper Color Scheme", "Show/Hide Toolbar", "-",
                                "[x] Lines On", "Symbols On", "-", "Save to Memory 1", "Memory 1 On",
                                "Save to Memory 2", "[x] Memory 2 On"}));
  ASSERT_NE(memory1, nullptr);
  memory1->trigger();
  menu->close();
  Pump();
  EXPECT_TRUE(window_->memoryShown[0]);
}

TEST_F(ToolWindowTest, MenuCommandsOfSchemesToolbarLinesAndMemories) {
  Make(0);
  Command(W::kCmdPaperScheme);
  EXPECT_TRUE(window_->PaperSchemeOn());
  EXPECT_FALSE(window_->ScreenSchemeOn());
  EXPECT_EQ(window_->backgroundColor, CWColorScheme::Paper().background);
  Command(W::kCmdScreenScheme);
  EXPECT_EQ(window_->backgroundColor, CWColorScheme::Screen().background);

  const int32_t client = window_->Window()->ClientSize().cx;
  Command(W::kCmdShowHideToolbar);
  EXPECT_FALSE(window_->ToolbarShown());
  EXPECT_EQ(window_->ToolbarWidth(), 0);
  EXPECT_EQ(window_->OffScreenBitmap().Width(), client);
  Command(W::kCmdShowHideToolbar);
  EXPECT_EQ(window_->OffScreenBitmap().Width(), client - W::kToolbarWidth);

  // Lines and symbols flip each dataset's own flag.
  window_->linesOn[3] = false;
  Command(W::kCmdLinesOn);
  EXPECT_FALSE(window_->linesOn[0]);
  EXPECT_TRUE(window_->linesOn[3]);
  Command(W::kCmdSymbolsOn);
  EXPECT_TRUE(window_->symbolsOn[0]);

  Command(W::kCmdSaveMemory1);
  EXPECT_TRUE(window_->memoryShown[0]);
  EXPECT_EQ(window_->GetMemoryPointCount(1), kPoints);
  Command(W::kCmdMemory1On);
  EXPECT_FALSE(window_->memoryShown[0]);
  Command(W::kCmdSaveMemory2);
  EXPECT_TRUE(window_->memoryShown[1]);

  // Clearing the data keeps the memories and draws the background only.
  window_->ClearData();
  EXPECT_FALSE(window_->hasData);
  EXPECT_EQ(window_->GetMemoryPointCount(2), kPoints);
}

}  // namespace

namespace {

using namespace tool_test;
using A = hooks::MouseAction;
using W = CWPlot2DToolWndw;

TEST_F(ToolWindowTest, CursorFollowsTheModeInsideThePlotArea) {
  Make(0);
  struct Case {
    uint32_t command;
    lv::CursorKind inside;
  };
  const Case cases[] = {{W::kCmdLocationTool, lv::CursorKind::kCross},
                        {W::kCmdVerticalZoom, lv::CursorKind::kSizeVertical},
                        {W::kCmdHorizontalZoom, lv::CursorKind::kSizeHorizontal},
                        {W::kCmdBothZoom, lv::CursorKind::kSizeAll}};
  for (const Case& c : cases) {
    Command(c.command);
    Mouse(A::kMove, PlotPoint(0.5, 0.5), 0, 0);
    EXPECT_EQ(window_->Window()->Cursor(), c.inside);
    Mouse(A::kMove, lv::Point{10, 10}, 0, 0);  // the toolbar column
    EXPECT_EQ(window_->Window()->Cursor(), lv::CursorKind::kArrow);
  }
  // Marker placement leaves the cursor as it is.
  Command(W::kCmdBothZoom);
  Mouse(A::kMove, PlotPoint(0.5, 0.5), 0, 0);
  Command(W::kCmdPlaceMarker);
  Mouse(A::kMove, PlotPoint(0.6, 0.5), 0, 0);
  EXPECT_EQ(window_->Window()->Cursor(), lv::CursorKind::kSizeAll);
}

TEST_F(ToolWindowTest, BoundingRectangleKeepsTheWindowInside) {
  Make(0);
  window_->SetBoundingRect(lv::Rect{0, 0, 600, 400});
  window_->Window()->MoveSize(lv::Rect{-50, -20, 750, 500});
  const lv::Rect g = window_->Window()->Geometry();
  EXPECT_GE(g.left, 0);
  EXPECT_GE(g.top, 0);
  EXPECT_LE(g.Width(), 600);
  EXPECT_LE(g.Height(), 400);
}

// The window owned by a plot thread of its own (a worker): input arrives
// there through its window-message queue; its save dialog runs through the
// modal bridge while the GUI thread serves.
TEST_F(ToolWindowTest, OwnedByAWorkerThread) {
  std::atomic<uint32_t> id{0};
  std::atomic<bool> stop{false};
  std::atomic<int32_t> mode{-1};
  std::atomic<bool> saveNow{false};
  std::atomic<bool> saved{false};
  const auto dir = std::filesystem::temp_directory_path() / ("lv-tool-worker-" + std::to_string(::getpid())) / "save";
  std::filesystem::create_directories(dir);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);  // where the save dialog opens
  std::thread plotThread([&] {
    CWPlot2DToolWndw w(3);
    if (!w.CreateToolWindow(L"Spectrum 1", lv::Rect{20, 20, 620, 420}, *frame_)) return;
    std::vector<float> x(200), y(200);
    for (int i = 0; i < 200; ++i) {
      x[i] = static_cast<float>(i * 1e5);
      y[i] = static_cast<float>(-60 + 10 * std::sin(i * 0.1));
    }
    w.xAxisType = 2;
    w.yAxisType = 13;
    w.SetDatasetData(x.data(), y.data(), 200, 1);
    w.Window()->Show(true);
    w.Redraw();
    id = w.Window()->Id();
    while (!stop) {
      lv::DispatchWindowMessages();
      mode = w.MouseMode();
      if (saveNow.exchange(false)) {
        w.SaveImage();
        saved = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  ASSERT_TRUE(PumpUntil([&] { return id != 0 && hooks::IsShown(id); }));
  Pump();
  // A click on the toolbar's vertical zoom button (third entry).
  ASSERT_TRUE(hooks::SendMouse(id, A::kPress, lv::Point{16, W::kToolbarTop + W::kButtonHeight + W::kSeparatorHeight + 10}, 1, 1, 0));
  ASSERT_TRUE(hooks::SendMouse(id, A::kRelease, lv::Point{16, W::kToolbarTop + W::kButtonHeight + W::kSeparatorHeight + 10}, 1, 0, 0));
  EXPECT_TRUE(PumpUntil([&] { return mode == W::kModeVerticalZoom; }));
  // Save Image from the plot thread: the GUI thread serves the dialog.
  hooks::PushFileAnswerWithFilter((dir / "worker").wstring(), 0);
  saveNow = true;
  EXPECT_TRUE(PumpUntil([&] { return saved.load(); }, 20000));
  EXPECT_TRUE(std::filesystem::exists(dir / "worker.bmp"));
  stop = true;
  plotThread.join();
  Pump();
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir.parent_path());
}

}  // namespace
