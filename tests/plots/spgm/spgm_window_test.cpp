// The spectrogram window on the offscreen platform: layout, the automatic
// and manual ranges of a computation, the chirp diagonal in the frame shown,
// zoom drags, automatic limits, settings, the value read-out, image save,
// print and copy, and the gallery picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/spectrogram.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "plots/color_map.h"
#include "plots/plot_spgm.h"
#include "plots/spgm/chirp.h"
#include "plots/windows/image_file_name.h"
#include "plots/windows/spgm_dlg.h"
#include "plots/windows/spgm_window.h"
#include "plots/windows/value_window.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

namespace hooks = lv::test_hooks;
using W = CWPlotSpgmWndw;

// Lets a finished modal dialog go away before the next one.
void Settle() {
  for (int i = 0; i < 10; ++i) lv::ServeGuiEvents(2);
}

class SpgmWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    frame_ = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{0, 0, 1400, 1000});
    frame_->Show(true);
    errors_.clear();
    previous_ = SetErrorPresenter([this](CQErrorDlg& dlg) { (void)dlg;
      errors_.push_back(true);
    });
    tmp_ = std::filesystem::temp_directory_path() /
           ("spgm_window_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(tmp_);
  }
  void TearDown() override {
    SetErrorPresenter(previous_);
    hooks::ClearAnswers();
    lv::ClearDialogAnswers();
    window_.reset();
    frame_.reset();
    if (lv::IsGuiRuntimeStarted()) lv::ShutDownGuiRuntime();
    std::filesystem::remove_all(tmp_);
  }

  // A window whose client area is exactly width x height.
  W& Make(int width, int height, int mapType = 0) {
    window_ = std::make_unique<W>();
    window_->colorMapType = mapType;
    window_->Create(*frame_, L"Spectrogram 1", lv::Rect{150, 150, 550, 550});
    const lv::Size c = window_->Window()->ClientSize();
    window_->Window()->MoveSize(lv::Rect{0, 0, 400 + width - c.cx, 400 + height - c.cy});
    EXPECT_EQ(window_->Window()->ClientSize(), (lv::Size{width, height}));
    window_->OnSize(width, height);
    return *window_;
  }

  // New data as the plot thread hands it over: copy, compute, draw, paint.
  void Feed(const CQCArrayTD& data) {
    window_->SetInputData(&data);
    window_->Compute();
    window_->Engine().DrawSpgm();
    window_->OnPaint();
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<W> window_;
  std::vector<bool> errors_;
  CQErrorPresenter previous_;
  std::filesystem::path tmp_;
};

TEST_F(SpgmWindow, CreationLaysOutTheImageAndMenus) {
  W& w = Make(700, 500);
  EXPECT_EQ(w.ToolbarWidth(), W::kToolbarWidth);
  EXPECT_EQ(w.imageRect.left, 129);
  EXPECT_EQ(w.imageRect.top, 10);
  EXPECT_EQ(w.imageRect.right, 700 - W::kToolbarWidth - 30);
  EXPECT_EQ(w.imageRect.bottom, 500 - 40);
  EXPECT_EQ(w.Engine().rows, w.imageRect.Height());
  EXPECT_EQ(w.Engine().columns, w.imageRect.Width());
  EXPECT_EQ(w.freqAxisBox, (lv::Rect{129 - 50, w.imageRect.bottom, w.imageRect.right + 50, w.imageRect.bottom + 40}));
  EXPECT_EQ(w.timeAxisBox, (lv::Rect{129 - 61, 10, 128, w.imageRect.bottom}));
  EXPECT_EQ(w.colorScaleRect, (lv::Rect{48, 10, 63, 130}));
  EXPECT_EQ(w.PictureSize(), (lv::Size{w.freqAxisBox.right, w.freqAxisBox.bottom + 1}));
  EXPECT_FALSE(w.Window()->IsVisible()) << "created hidden";

  std::vector<std::wstring> texts;
  for (const lv::MenuItem& m : w.PopupMenuItems()) {
    texts.push_back(m.separator ? L"-" : (m.checked ? L"[x] " : L"") + m.text);
  }
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Copy Image", L"Save Image...", L"Print Image...", L"-",
                                              L"Settings...", L"[x] Grid On", L"-", L"[x] Screen Color Scheme",
                                              L"Paper Color Scheme", L"Show/Hide Toolbar"}));
  w.OnCommand(W::kCmdPaperScheme);
  w.OnCommand(W::kCmdGridOn);
  EXPECT_EQ(w.textColor, 0);
  EXPECT_EQ(w.backgroundColor, 1);
  EXPECT_FALSE(w.gridOn);
  EXPECT_FALSE(w.PopupMenuItems()[5].checked);
  EXPECT_TRUE(w.PopupMenuItems()[8].checked);
  EXPECT_FALSE(w.PopupMenuItems()[7].checked);

  // Hiding the toolbar gives its width to the image.
  w.OnCommand(W::kCmdShowHideToolbar);
  EXPECT_EQ(w.ToolbarWidth(), 0);
  EXPECT_EQ(w.imageRect.right, 700 - 30);
  // Closing only hides.
  w.Window()->Show(true);
  w.HandleMessage(lv::WindowMessage{w.Window()->Id(), lv::WindowMessageKind::kClose});
  EXPECT_FALSE(w.Window()->IsVisible());
}

TEST_F(SpgmWindow, AutomaticSettingsOnTenThousandSamples) {
  W& w = Make(600, 400);
  CQCArrayTD data(10000);
  data.SetSampleRate(1e6);
  data.SetTimeOrigin(0.25);
  Feed(data);
  EXPECT_EQ(w.effectiveRBW, 2500.0);
  EXPECT_EQ(w.rbw, 2500.0) << "the automatic value is kept as the user's";
  EXPECT_DOUBLE_EQ(w.timeRange, 0.01);
  EXPECT_EQ(w.startFreq, -5e5);
  EXPECT_EQ(w.stopFreq, 5e5);
  // The lowest row is centred on the first sample: time counts from it.
  EXPECT_NEAR(w.Engine().startTime, 0.0, 1e-12);
  EXPECT_EQ(w.Input()->GetTimeOrigin(), 0.0);
  EXPECT_EQ(w.Engine().GetSpectrogram().GetNumRows(), w.imageRect.Height());
  EXPECT_TRUE(w.Engine().drawn);
}

// The rows analyse the samples around the time start, zeros outside the
// waveform, exactly as a subset copy of the waveform gives them.
TEST_F(SpgmWindow, AnalysedSamplesAreTheSubsetAroundTheTimeStart) {
  W& w = Make(500, 300);
  auto chirp = spgm_test::MakeChirp(30000, 1e6, -4e5, 4e5);
  w.SetInputData(chirp.get());
  w.autoTimeRange = false;
  for (double start : {0.0, 0.004, 0.0285, 0.05}) {
    SCOPED_TRACE(start);
    w.timeStart = start;
    w.timeRange = 0.002;
    w.Compute();
    int h = 0, n = 0;
    W::CalcInputDataPoints(1e6, w.effectiveRBW, w.timeRange, w.windowShape, w.Engine().rows, &h, &n);
    std::unique_ptr<CQCArrayTD> want(chirp->MakeCopyOfSubset(static_cast<int>(std::lround(start * 1e6)) - h, n));
    const CQCArrayTD* got = w.Engine().GetInput();
    ASSERT_NE(got, nullptr);
    ASSERT_EQ(got->GetNumPoints(), want->GetNumPoints());
    EXPECT_DOUBLE_EQ(got->GetTimeOrigin(), want->GetTimeOrigin());
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(got->GetDataPtr()[i].re, want->GetDataPtr()[i].re) << i;
      ASSERT_EQ(got->GetDataPtr()[i].im, want->GetDataPtr()[i].im) << i;
    }
    // The lowest row is centred on the time start.
    EXPECT_NEAR(w.Engine().startTime, start, 1e-9);
  }
}

TEST_F(SpgmWindow, CalcInputDataPoints) {
  struct Case {
    double rate, rbw, range;
    int shape, rows;
    int half, points;
  };
  // Gaussian 7 at fs/400: a window of ~ 400 * k samples; rectangular: fs / rbw.
  const int gaussLength = CalcWindowLengthForRBW(1e6, 2500.0, 7);
  const int rectHalf = CalcWindowLengthForRBW(1e6, 1e4, 1) / 2;
  const Case cases[] = {
      // 1000 samples over 100 rows: 1000/99 = 10.1 -> 10, and 0.001 > 99 * 10 / 1e6: step 11.
      {1e6, 1e4, 0.001, 1, 100, rectHalf, 99 * 11 + 2 * rectHalf + 1},
      // A range that the rounded step covers exactly keeps the step.
      {1e6, 1e4, 99e-5, 1, 100, rectHalf, 99 * 10 + 2 * rectHalf + 1},
      {1e6, 2500.0, 0.01, 7, 300, gaussLength / 2, 299 * (RoundToInt(1e4 / 299) + 1) + 2 * (gaussLength / 2) + 1},
      // A window shorter than two samples.
      {1e6, 1e6, 0.01, 1, 100, 0, 0},
  };
  for (const Case& c : cases) {
    int h = -1, n = -1;
    W::CalcInputDataPoints(c.rate, c.rbw, c.range, c.shape, c.rows, &h, &n);
    EXPECT_EQ(h, c.half) << c.rbw << " " << c.range;
    EXPECT_EQ(n, c.points) << c.rbw << " " << c.range;
  }
}

TEST_F(SpgmWindow, UnusableManualValuesAreReplaced) {
  W& w = Make(600, 400);
  CQCArrayTD data(20000);
  data.SetSampleRate(1e6);
  w.SetInputData(&data);
  const int rows = w.imageRect.Height();

  struct Case {
    const char* what;
    double rbw;
    double range;
    float lo, hi;
    double wantRbw, wantRange;
  };
  const Case cases[] = {
      {"RBW at sample rate / points", 1e6 / 20000, 0.005, -80, -10, 2500.0, 0.005},
      {"range shorter than rows / rate", 1e4, (rows - 1) / 1e6, -80, -10, 1e4, 0.02},
      {"range longer than the waveform", 1e4, 0.05, -80, -10, 1e4, 0.02},
      {"power range of 1 dB", 1e4, 0.005, -20, -19, 1e4, 0.005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.autoRBW = false;
    w.autoTimeRange = false;
    w.rbw = c.rbw;
    w.timeRange = c.range;
    w.minPower = c.lo;
    w.maxPower = c.hi;
    w.Compute();
    EXPECT_DOUBLE_EQ(w.rbw, c.wantRbw);
    EXPECT_DOUBLE_EQ(w.timeRange, c.wantRange);
    if (c.hi - c.lo <= 1.0f) {
      EXPECT_EQ(w.minPower, -100.0f);
      EXPECT_EQ(w.maxPower, 0.0f);
    }
  }
  // A manual start at or above the stop becomes the whole band.
  w.autoFreqRange = false;
  w.startFreq = 1e5;
  w.stopFreq = 1e5;
  w.Compute();
  EXPECT_EQ(w.startFreq, -5e5);
  EXPECT_EQ(w.stopFreq, 5e5);
  // An analysis window shorter than two samples is refused.
  w.rbw = 9e5;
  w.windowShape = 1;
  ASSERT_LT(CalcWindowLengthForRBW(1e6, 9e5, 1), 2);
  EXPECT_TRUE(lv_test::ThrowsError([&] { w.Compute(); }, "RBW too large. Please select a smaller value.",
                                   "CWPlotSpgmWndw::Compute\n"));
  // A window shape without an analysis window takes the default.
  w.rbw = 1e4;
  w.windowShape = 42;
  EXPECT_NO_THROW(w.Compute());
  EXPECT_EQ(w.windowShape, 7);
}

// The column of the brightest pixel of a frame row inside the image.
int BrightestColumn(const lv::Bitmap& frame, const lv::Rect& image, int xOffset, int y) {
  int best = image.left;
  int bestLevel = -1;
  for (int x = image.left; x < image.right; ++x) {
    const int level = lv::RedOf(frame.Pixel(x + xOffset, y));
    if (level > bestLevel) {
      bestLevel = level;
      best = x;
    }
  }
  return best;
}

TEST_F(SpgmWindow, ChirpSweepingTheBandDrawsTheDiagonal) {
  W& w = Make(800, 560, 1);  // grey scale: the red level is the colour entry
  const int n = 1 << 18;
  const double rate = 1e6, f0 = -4.5e5, f1 = 4.5e5;
  auto chirp = spgm_test::MakeChirp(n, rate, f0, f1, 2.4e9);
  w.minPower = -120.0f;
  w.maxPower = 60.0f;
  Feed(*chirp);
  const lv::Bitmap& frame = w.LastFrame();
  const lv::Rect img = w.imageRect;
  const int rows = img.Height();
  const int columns = img.Width();
  const CWPlotSpgm& e = w.Engine();
  // (Rows between the grid lines, which lie at tenths of the height.)
  for (double fraction : {0.13, 0.47, 0.86}) {
    const int row = static_cast<int>(fraction * (rows - 1));
    const int y = img.bottom - 1 - row;  // time runs upward
    const double t = e.startTime + row * (e.stopTime - e.startTime) / (rows - 1);
    const double f = spgm_test::ChirpFreqAt(t, n, rate, f0, f1);
    const int want = img.left + static_cast<int>(std::lround((f - e.startFreq) * (columns - 1) / (e.stopFreq - e.startFreq)));
    const int got = BrightestColumn(frame, img, w.ToolbarWidth(), y);
    EXPECT_NEAR(got, want, 2) << "at " << t << " s (" << f << " Hz)";
    EXPECT_GT(lv::RedOf(frame.Pixel(got + w.ToolbarWidth(), y)), 150);
    // Far from the chirp the image is dark.
    const int far = got < img.left + columns / 2 ? img.right - 5 : img.left + 5;
    EXPECT_LT(lv::RedOf(frame.Pixel(far + w.ToolbarWidth(), y)), 60);
  }
  lv_test::GalleryFolder("plots");
  ASSERT_TRUE(frame.Save(lv_test::GalleryFolder("plots") + "/spectrogram_window_grey.png"));
  // The whole window with its frame, in the default rainbow map.
  CWPlotSpgmSettings s = w.GetSettings();
  s.colorMapType = 0;
  w.ApplySettings(s);
  EXPECT_TRUE(errors_.empty());
  w.Window()->Show(true);
  w.OnPaint();
  for (int i = 0; i < 20 && !hooks::IsShown(w.Window()->Id()); ++i) lv::ServeGuiEvents(5);
  for (int i = 0; i < 10; ++i) lv::ServeGuiEvents(5);
  EXPECT_TRUE(hooks::SaveWindowPng(w.Window()->Id(), lv_test::GalleryFolder("plots") + "/spectrogram_window.png"));
}

TEST_F(SpgmWindow, TimeZoomDragTakesTheNearestRows) {
  W& w = Make(600, 400);
  auto chirp = spgm_test::MakeChirp(40000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  const double f0 = w.startFreq, f1 = w.stopFreq;
  const CQAltTDSpgm& a = w.Engine().GetSpectrogram();
  const int rows = a.GetNumRows();
  const double t0 = a.GetStartTime(), t1 = a.GetStopTime();
  const int tb = w.ToolbarWidth();
  const lv::Rect img = w.imageRect;

  w.OnCommand(W::kCmdTimeZoomTool);
  EXPECT_EQ(w.mouseMode, W::kModeTimeZoom);
  const int x = img.left + 50;
  const int yStart = img.bottom - 1 - 200;  // row 200
  const int yEnd = img.bottom - 1 - 60;     // row 60
  w.OnLButtonDown(x + tb, yStart);
  EXPECT_TRUE(w.Dragging());
  w.OnMouseMove(x + tb + 10, yEnd);
  // A time drag is a strip three pixels wide at the start column.
  EXPECT_EQ(w.DragRect(), (lv::Rect{x, yStart, x + 3, yEnd + 1}));
  w.OnLButtonUp(x + tb + 10, yEnd);
  EXPECT_FALSE(w.Dragging());
  EXPECT_FALSE(w.autoTimeRange);
  const double step = (t1 - t0) / (rows - 1);
  EXPECT_NEAR(w.timeStart, t0 + 60 * step, 1e-12);
  // The range is the distance of the two snapped rows (the computation then
  // keeps it, being at least rows / rate).
  EXPECT_NEAR(w.Engine().startTime, t0 + 60 * step, step);
  EXPECT_EQ(w.startFreq, f0) << "a time zoom leaves the frequency range";
  EXPECT_EQ(w.stopFreq, f1);
  EXPECT_TRUE(w.autoFreqRange);

  // A frequency drag: the columns nearest the ends; the time stays.
  const double keptStart = w.timeStart;
  w.OnCommand(W::kCmdFreqZoomTool);
  w.OnLButtonDown(img.left + 100 + tb, img.top + 50);
  w.OnMouseMove(img.left + 40 + tb, img.top + 60);
  EXPECT_EQ(w.DragRect(), (lv::Rect{img.left + 40, img.top + 50, img.left + 101, img.top + 53}));
  const double c0 = w.Engine().startFreq, c1 = w.Engine().stopFreq;
  const int columns = w.Engine().columns;
  w.OnLButtonUp(img.left + 40 + tb, img.top + 60);
  EXPECT_FALSE(w.autoFreqRange);
  EXPECT_NEAR(w.startFreq, c0 + 40 * (c1 - c0) / (columns - 1), 1e-6);
  EXPECT_NEAR(w.stopFreq, c0 + 100 * (c1 - c0) / (columns - 1), 1e-6);
  EXPECT_EQ(w.timeStart, keptStart);

  // Auto Limits: the whole waveform and band again, a manual RBW kept.
  w.autoRBW = false;
  w.rbw = 5000.0;
  w.OnCommand(W::kCmdAutoLimits);
  EXPECT_TRUE(w.autoTimeRange);
  EXPECT_TRUE(w.autoFreqRange);
  EXPECT_EQ(w.timeStart, 0.0);
  EXPECT_DOUBLE_EQ(w.timeRange, 0.04);
  EXPECT_EQ(w.startFreq, -5e5);
  EXPECT_EQ(w.rbw, 5000.0);
  EXPECT_FALSE(w.autoRBW);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SpgmWindow, BothAxesDragOutsideTheImageIsClamped) {
  W& w = Make(500, 360);
  auto chirp = spgm_test::MakeChirp(30000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  const int tb = w.ToolbarWidth();
  const lv::Rect img = w.imageRect;
  const double t1 = w.Engine().stopTime;
  w.OnCommand(W::kCmdBothZoomTool);
  w.OnLButtonDown(img.left + 10 + tb, img.top + 10);
  w.OnMouseMove(img.left + 30 + tb, img.top + 40);
  EXPECT_EQ(w.DragRect(), (lv::Rect{img.left + 10, img.top + 10, img.left + 31, img.top + 41}));
  const CQAltTDSpgm& a = w.Engine().GetSpectrogram();
  const int rows = a.GetNumRows(), columns = a.GetNumColumns();
  const double t0 = a.GetStartTime(), f0 = a.GetStartFreq(), f1 = a.GetStopFreq();
  const double startRowTime = t0 + (img.bottom - (img.top + 10) - 1) * (t1 - t0) / (rows - 1);
  // Released beyond the top-right corner: the last row and column.
  w.OnLButtonUp(img.right + 40 + tb, img.top - 8);
  EXPECT_FALSE(w.autoTimeRange);
  EXPECT_FALSE(w.autoFreqRange);
  EXPECT_NEAR(w.startFreq, f0 + 10 * (f1 - f0) / (columns - 1), 1e-6);
  EXPECT_NEAR(w.stopFreq, f1, 1e-6);
  EXPECT_NEAR(w.timeStart, startRowTime, 1e-9);
  EXPECT_NEAR(w.timeRange, t1 - startRowTime, 1e-9);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SpgmWindow, ValueReadOutShowsFrequencyAndTime) {
  W& w = Make(600, 400);
  auto chirp = spgm_test::MakeChirp(20000, 1e6, -4e5, 4e5, 2.45e9);
  Feed(*chirp);
  const int tb = w.ToolbarWidth();
  const lv::Rect img = w.imageRect;
  // Outside the image nothing happens.
  w.OnLButtonDown(tb + 5, 5);
  EXPECT_FALSE(w.ValueWindow().IsVisible());
  const int x = img.left + 77, y = img.bottom - 1 - 33;
  w.OnLButtonDown(x + tb, y);
  ASSERT_TRUE(w.ValueWindow().IsVisible());
  const CQAltTDSpgm& a = w.Engine().GetSpectrogram();
  const double f = a.GetStartFreq() + 77 * (a.GetStopFreq() - a.GetStartFreq()) / (a.GetNumColumns() - 1);
  const double t = a.GetStartTime() + 33 * (a.GetStopTime() - a.GetStartTime()) / (a.GetNumRows() - 1);
  EXPECT_DOUBLE_EQ(w.ValueWindow().xValue, 2.45e9 + f);
  EXPECT_EQ(w.ValueWindow().xAxisType, 2);
  EXPECT_DOUBLE_EQ(w.ValueWindow().yValue, t);
  EXPECT_EQ(w.ValueWindow().yAxisType, 0);
  w.OnPaint();
  // The read-out sits left of the mouse, drawn over the frame.
  const lv::Rect g = w.ValueWindow().Geometry();
  EXPECT_EQ(g.right, x + tb - 12);
  EXPECT_NE(w.LastFrame().Pixel(g.left + 40, g.top + 10), lv::MakeRgb(0, 0, 0));
  w.OnLButtonUp(x + tb, y);
  EXPECT_FALSE(w.ValueWindow().IsVisible());
}

TEST_F(SpgmWindow, SettingsAndColourMapRecolour) {
  W& w = Make(600, 400);
  auto chirp = spgm_test::MakeChirp(20000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  const lv::RgbQuad before = w.Engine().GetBitmap().GetPixel(10, 10);
  const lv::Bitmap scaleBefore = w.LastFrame();
  CWPlotSpgmSettings s = w.GetSettings();
  s.colorMapType = 1;
  w.ApplySettings(s);
  EXPECT_EQ(w.colorMapType, 1);
  EXPECT_EQ(w.Engine().GetColorMap().GetType(), 1);
  const lv::RgbQuad after = w.Engine().GetBitmap().GetPixel(10, 10);
  EXPECT_NE(before, after);
  EXPECT_EQ(after.red, after.blue);
  w.OnPaint();
  // The colour scale is grey now: its middle row has equal channels.
  const lv::Color mid = w.LastFrame().Pixel(w.colorScaleRect.left + 5 + w.ToolbarWidth(), 70);
  EXPECT_EQ(lv::RedOf(mid), lv::BlueOf(mid));
  EXPECT_NE(scaleBefore.Pixel(w.colorScaleRect.left + 5 + w.ToolbarWidth(), 70), mid);

  // Manual values are stored when they differ enough; tiny differences are not changes.
  s = w.GetSettings();
  s.autoRBW = false;
  s.rbw = 4000.0;
  s.autoFreqRange = false;
  s.startFreq = -2e5;
  s.stopFreq = 2e5;
  s.minPower = -90.0f;
  s.maxPower = -5.0f;
  w.ApplySettings(s);
  EXPECT_EQ(w.effectiveRBW, 4000.0);
  EXPECT_EQ(w.Engine().startFreq, -2e5);
  EXPECT_EQ(w.Engine().maxPower, -5.0f);
  s = w.GetSettings();
  s.stopFreq += 0.5;
  w.ApplySettings(s);
  EXPECT_EQ(w.stopFreq, 2e5);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SpgmWindow, SetInputDataMovesTheOriginIntoTheStartTime) {
  W& w = Make(400, 300);
  CQCArrayTD data(1000);
  data.SetSampleRate(1e6);
  data.SetTimeOrigin(7200.5);  // two hours
  CQDateTime& stamp = data.StartDateTime();
  stamp.year = 2024;
  stamp.month = 12;
  stamp.day = 31;
  stamp.hour = 23;
  stamp.minute = 0;
  stamp.second = 0.0;
  w.SetInputData(&data);
  const CQDateTime& got = w.Input()->StartDateTime();
  EXPECT_EQ(got.year, 2025);
  EXPECT_EQ(got.month, 1);
  EXPECT_EQ(got.day, 1);
  EXPECT_EQ(got.hour, 1);
  EXPECT_EQ(got.minute, 0);
  EXPECT_DOUBLE_EQ(got.second, 0.5);
  EXPECT_EQ(w.Input()->GetTimeOrigin(), 0.0);
  const lv_test::CaughtError e = lv_test::Catch([&] { w.SetInputData(nullptr); });
  EXPECT_EQ(e.code, 3);
  EXPECT_EQ(e.callStack, "CWPlotSpgmWndw::SetInputData\n");
}

TEST_F(SpgmWindow, ClearBlanksTheImage) {
  W& w = Make(400, 300);
  auto chirp = spgm_test::MakeChirp(20000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  w.ClearImage();
  const CWBitmap& b = w.Engine().GetBitmap();
  for (int r = 0; r < b.GetHeight(); r += 7) {
    for (int c = 0; c < b.GetWidth(); c += 7) ASSERT_EQ(b.GetPixel(r, c), lv::RgbQuad{});
  }
}

// Save Image's name: a known image extension in any case stays, anything
// else gets the default one; a cancelled dialog gives no name.
TEST_F(SpgmWindow, ImageFileNamesKeepAKnownExtensionAndGetTheDefaultOtherwise) {
  lv::FileDialogOptions options;
  options.title = L"Save Image";
  options.filters = {{L"JPEG Files (*.jpg)", L"*.jpg"}, {L"PNG Files (*.png)", L"*.png"}};
  options.defaultExtension = L"jpg";
  struct Case {
    const wchar_t* answer;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"/tmp/picture", L"/tmp/picture.jpg"},
      {L"/tmp/picture.png", L"/tmp/picture.png"},
      {L"/tmp/picture.JPEG", L"/tmp/picture.JPEG"},
      {L"/tmp/picture.Png", L"/tmp/picture.Png"},
      {L"/tmp/picture.jpg.txt", L"/tmp/picture.jpg.txt.jpg"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    hooks::PushFileAnswer(c.answer);
    EXPECT_EQ(AskImageFileName(options, {L".jpg", L".jpeg", L".png"}), c.expected) << std::wstring(c.answer);
    Settle();
  }
}

TEST_F(SpgmWindow, SavePrintAndCopy) {
  W& w = Make(600, 400);
  auto chirp = spgm_test::MakeChirp(20000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  const lv::Size size = w.PictureSize();

  // A name without a known extension gets the preselected JPEG one.
  hooks::PushFileAnswer((tmp_ / "picture").wstring());
  w.OnCommand(W::kCmdSaveImage);
  Settle();
  const lv::Bitmap jpg = lv::Bitmap::Load((tmp_ / "picture.jpg").string());
  ASSERT_FALSE(jpg.IsNull());
  EXPECT_EQ(jpg.Width(), size.cx);
  EXPECT_EQ(jpg.Height(), size.cy);
  hooks::PushFileAnswer((tmp_ / "picture.png").wstring());
  w.OnCommand(W::kCmdSaveImage);
  Settle();
  const lv::Bitmap png = lv::Bitmap::Load((tmp_ / "picture.png").string());
  ASSERT_FALSE(png.IsNull());
  EXPECT_TRUE(png.SamePixels(w.RenderPicture()));
  // Cancelled: nothing written.
  hooks::PushFileAnswer(L"");
  w.OnCommand(W::kCmdSaveImage);
  Settle();

  // Printing draws in paper colours and restores the screen scheme.
  hooks::PushPrintToPdfAnswer((tmp_ / "print.pdf").string());
  w.OnCommand(W::kCmdPrintImage);
  Settle();
  EXPECT_TRUE(std::filesystem::exists(tmp_ / "print.pdf"));
  EXPECT_GT(std::filesystem::file_size(tmp_ / "print.pdf"), 1000u);
  EXPECT_TRUE(w.screenScheme);
  EXPECT_EQ(w.backgroundColor, 0);

  w.OnCommand(W::kCmdCopyImage);
  for (int i = 0; i < 20; ++i) lv::ServeGuiEvents(2);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_TRUE(mime->hasFormat("image/svg+xml"));
  EXPECT_TRUE(mime->hasImage());
  EXPECT_TRUE(errors_.empty());
}

// The settings command runs the real dialog: Accept applies, Escape and
// Cancel leave everything as it was. (Declared after the file-dialog test:
// a file dialog opened after a finished settings dialog in the same
// process is not found by the scripted answers of the window layer.)
TEST_F(SpgmWindow, SettingsDialogAcceptAppliesEscapeCancels) {
  W& w = Make(600, 400);
  auto chirp = spgm_test::MakeChirp(20000, 1e6, -4e5, 4e5);
  Feed(*chirp);
  const CWPlotSpgmSettings before = w.GetSettings();
  for (lv::DialogStep end : {lv::DialogStep::Escape(), lv::DialogStep::Click(kIdcSpgmCancel),
                             lv::DialogStep::CloseBox()}) {
    lv::AnswerNextDialog({lv::DialogStep::Pick(kIdcSpgmColors, 1), lv::DialogStep::Type(kIdcSpgmMinPower, L"-70"),
                          end});
    w.OnCommand(W::kCmdSettings);
    Settle();
    EXPECT_EQ(w.colorMapType, before.colorMapType);
    EXPECT_EQ(w.minPower, before.minPower);
  }
  lv::AnswerNextDialog({lv::DialogStep::Pick(kIdcSpgmColors, 1), lv::DialogStep::Type(kIdcSpgmMinPower, L"-70"),
                        lv::DialogStep::Click(kIdcSpgmAccept)});
  w.OnCommand(W::kCmdSettings);
  Settle();
  EXPECT_EQ(lv::ClearDialogAnswers(), 0) << "every script met its dialog";
  EXPECT_EQ(w.colorMapType, 1);
  EXPECT_EQ(w.minPower, -70.0f);
  EXPECT_EQ(w.Engine().minPower, -70.0f) << "computed again with the new range";
  EXPECT_EQ(w.Engine().GetColorMap().GetType(), 1);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
