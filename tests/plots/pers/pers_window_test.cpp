// The persistence-spectrum window on the offscreen platform: a two-tone
// waveform lights two columns, fading dims a tone that went away at the rate
// of the chosen persistence, the frequency range, power scale, settings,
// zoom, resize and mouse read-out rules, the pop-up commands, image save,
// copy and print, and the gallery picture.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

#include "core/arrays/carray.h"
#include "core/spectral/multi_spectrum.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "plots/color_map.h"
#include "plots/colors.h"
#include "plots/pers_bitmap.h"
#include "plots/plot_pers_spec.h"
#include "platform/gui/dialog.h"
#include "platform/gui/dialog_test_hooks.h"
#include "plots/windows/pers_spec_dlg.h"
#include "plots/windows/pers_spec_wndw.h"
#include "plots/windows/value_window.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

namespace hooks = lv::test_hooks;

// Lets the GUI thread finish with a closed dialog before the next one opens.
void Settle() {
  for (int i = 0; i < 10; ++i) lv::ServeGuiEvents(2);
}

constexpr double kRate = 10e6;
constexpr double kCentre = 2.4e9;

struct Tone {
  double freq;       // Hz, relative to the centre
  double amplitude;  // peak, volts (1 reads +10 dBm)
};

// n samples of the tones plus complex Gaussian noise (standard deviation per
// component), with the attributes of a transmitter's output.
std::unique_ptr<CQCArrayTD> MakeWave(int n, const std::vector<Tone>& tones, float noise, unsigned seed,
                                     double bandwidth = 8e6) {
  auto wave = std::make_unique<CQCArrayTD>(n);
  CQComplex* d = wave->GetDataPtr();
  std::mt19937 rng(seed);
  std::normal_distribution<float> g(0.0f, noise);
  for (int i = 0; i < n; ++i) {
    double re = 0.0, im = 0.0;
    for (const Tone& t : tones) {
      const double ph = 2.0 * M_PI * t.freq * i / kRate;
      re += t.amplitude * std::cos(ph);
      im += t.amplitude * std::sin(ph);
    }
    d[i].re = static_cast<float>(re) + (noise > 0 ? g(rng) : 0.0f);
    d[i].im = static_cast<float>(im) + (noise > 0 ? g(rng) : 0.0f);
  }
  wave->SetSampleRate(kRate);
  wave->SetCenterFreq(kCentre);
  wave->SetBandwidth(bandwidth);
  wave->SetValid(true);
  return wave;
}

const std::vector<Tone> kTwoTones = {{-2e6, 0.1}, {1.5e6, 0.05}};
constexpr float kNoise = 3e-5f;

class PersWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The file dialogs remember their last folder in the user's Qt settings;
    // a private configuration folder keeps other programs' folders (and ours)
    // out of each other's way.
    static const std::string config = [] {
      const std::filesystem::path p = std::filesystem::current_path() / "pers_window_config";
      std::filesystem::create_directories(p);
      return p.string();
    }();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    frame_ = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{0, 0, 1100, 760});
    frame_->Show(true);
    w_ = std::make_unique<CWPlotPersSpecWndw>();
    w_->Create(*frame_, L"Persistence Spectrum 1", lv::Rect{0, 0, 900, 600});
    w_->Window()->Show(true);
    Settle();
  }
  void TearDown() override {
    Settle();
    w_.reset();
    frame_.reset();
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
  }

  // One waveform handed over as the plot thread does: copy, compute, paint.
  void Feed(const CQCArrayTD& wave) {
    w_->SetInputData(&wave);
    w_->Compute();
    w_->OnPaint();
  }

  int32_t ColumnOf(double relFreq) const {
    CWPlotPersSpec& p = w_->PersPlot();
    const int32_t cols = p.GetBitmap().GetColumns();
    return static_cast<int32_t>(std::lround((relFreq - p.GetStartFreq()) / (p.GetStopFreq() - p.GetStartFreq()) *
                                            (cols - 1)));
  }
  int32_t RowOf(double dBm) const {
    CWPlotPersSpec& p = w_->PersPlot();
    const int32_t rows = p.GetBitmap().GetRows();
    return static_cast<int32_t>(std::lround((dBm - p.GetBottom()) / (p.GetTop() - p.GetBottom()) * (rows - 1)));
  }
  float Intensity(int32_t col, int32_t row) const {
    const CWPersBitmap& b = w_->PersPlot().GetBitmap();
    return b.GetIntensity()[static_cast<size_t>(row) * b.GetColumns() + col];
  }
  // The brightest cell of a row within eight columns of col: a tone's main
  // lobe spans a few columns, and the trace climbs to it at the lobe's edges.
  int32_t BrightestNear(int32_t col, int32_t row) const {
    int32_t best = col;
    for (int32_t c = col - 8; c <= col + 8; ++c) {
      if (Intensity(c, row) > Intensity(best, row)) best = c;
    }
    return best;
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<CWPlotPersSpecWndw> w_;
};

TEST_F(PersWindow, StartsWithTheDefaultsAndNoImage) {
  EXPECT_FALSE(w_->HasImage());
  EXPECT_TRUE(w_->GridOn());
  EXPECT_TRUE(w_->ScreenScheme());
  EXPECT_EQ(w_->MouseMode(), 1);
  EXPECT_EQ(w_->ToolbarWidth(), CWPlotPersSpecWndw::kToolbarWidth);
  const CWPersSpecSettings s = w_->GetSettings();
  EXPECT_TRUE(s.autoFreqRange);
  EXPECT_TRUE(s.autoRBW);
  EXPECT_TRUE(s.overlayTrace);
  EXPECT_EQ(s.spectraPerInput, 16);
  EXPECT_EQ(s.minPower, -100.0f);
  EXPECT_EQ(s.maxPower, 0.0f);
  EXPECT_EQ(s.persistenceType, 1);
  // The image fills the client area less its margins, one pixel per cell.
  const lv::Size c = w_->Window()->ClientSize();
  const lv::Rect& r = w_->ImageRect();
  EXPECT_EQ(r.left, 128);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.Width(), c.cx - 128 - CWPlotPersSpecWndw::kToolbarWidth - 30);
  EXPECT_EQ(r.Height(), c.cy - 10 - 40);
  EXPECT_EQ(w_->PersPlot().GetBitmap().GetColumns(), r.Width());
  EXPECT_EQ(w_->PersPlot().GetBitmap().GetRows(), r.Height());
  EXPECT_EQ(w_->FreqAxisBox(), (lv::Rect{r.left - 50, r.bottom, r.right + 50, r.bottom + 40}));
  EXPECT_EQ(w_->PowerAxisBox(), (lv::Rect{r.left - 71, r.top, r.left - 1, r.bottom}));
  // Nothing but the background before the first image.
  w_->OnPaint();
  const lv::Bitmap& f = w_->LastFrame();
  EXPECT_EQ(f.Pixel(r.left + CWPlotPersSpecWndw::kToolbarWidth + 10, r.top + 10), lv::MakeRgb(0, 0, 0));
  EXPECT_TRUE(lv_test::ThrowsError([&] { w_->SetInputData(nullptr); }, "Null pointer to input data.",
                                   "CWPlotPersSpecWndw::SetInputData\n"));
}

// Two tones light two columns from the noise floor up to their levels; the
// columns in between stay dark above the floor.
TEST_F(PersWindow, ATwoToneWaveformLightsTwoColumns) {
  CWPersSpecSettings s = w_->GetSettings();
  s.overlayTrace = false;
  s.persistenceType = 2;
  w_->ApplySettings(s);
  const auto wave = MakeWave(1 << 16, kTwoTones, kNoise, 7);
  for (int i = 0; i < 20; ++i) Feed(*wave);
  ASSERT_TRUE(w_->HasImage());
  EXPECT_NEAR(w_->StartFreq(), -4e6, 1.0);  // the waveform's band around the centre
  EXPECT_NEAR(w_->StopFreq(), 4e6, 1.0);
  EXPECT_EQ(w_->CenterFreq(), kCentre);
  EXPECT_GT(w_->EffectiveRBW(), 0.0);

  const int32_t x1 = ColumnOf(-2e6), x2 = ColumnOf(1.5e6), xMid = ColumnOf(-0.25e6);
  // -10 dBm and -16 dBm tones; rows from -60 to -25 dBm lie between floor and peaks.
  for (double dBm : {-60.0, -45.0, -30.0, -25.0}) {
    SCOPED_TRACE(dBm);
    const int32_t row = RowOf(dBm);
    EXPECT_GT(Intensity(BrightestNear(x1, row), row), 200.0f);
    EXPECT_GT(Intensity(BrightestNear(x2, row), row), 200.0f);
    for (int32_t c = xMid - 30; c <= xMid + 30; ++c) {
      ASSERT_EQ(Intensity(c, row), 0.0f) << "column " << c;
    }
  }
  // Between the tones' levels only the stronger tone's column is lit.
  const int32_t row13 = RowOf(-13.0);
  EXPECT_GT(Intensity(BrightestNear(x1, row13), row13), 200.0f);
  EXPECT_EQ(Intensity(BrightestNear(x2, row13), row13), 0.0f);

  // On screen: the columns show the colour map's bright end, the space between is black.
  const lv::Bitmap& f = w_->LastFrame();
  const int32_t left = CWPlotPersSpecWndw::kToolbarWidth + w_->ImageRect().left;
  const int32_t rowsTop = w_->ImageRect().top + w_->PersPlot().GetBitmap().GetRows() - 1;
  const int32_t row = RowOf(-40.0);
  const int32_t yScreen = rowsTop - row;
  const int32_t c1 = BrightestNear(x1, row);
  const lv::Color lit = f.Pixel(left + c1, yScreen);
  const lv::Color expected = [&] {
    const int16_t idx = w_->PersPlot().GetBitmap().GetColorIndex()[static_cast<size_t>(row) *
                                                                     w_->PersPlot().GetBitmap().GetColumns() + c1];
    const lv::RgbQuad q = CWColorMap::ComputeColor(5, idx);
    return lv::MakeRgb(q.red, q.green, q.blue);
  }();
  EXPECT_EQ(lit, expected);
  EXPECT_GT(lv::RedOf(lit), 200);
  EXPECT_EQ(f.Pixel(left + xMid, yScreen), lv::MakeRgb(0, 0, 0));
}

struct FadeCase {
  int32_t type;
  float decay;
};

// After the two tones settle, the second tone goes away: its cells lose the
// decay of the persistence type for every added spectrum (16 per waveform),
// while the first tone stays lit; "Infinite" keeps them.
TEST_F(PersWindow, FadingDimsAToneThatWentAwayAtTheChosenRate) {
  const auto both = MakeWave(1 << 16, kTwoTones, kNoise, 11);
  const auto first = MakeWave(1 << 16, {kTwoTones[0]}, kNoise, 12);
  for (const FadeCase fc : {FadeCase{0, 0.0f}, FadeCase{1, 1.0f / 35.0f}, FadeCase{2, 1.0f / 15.0f},
                            FadeCase{3, 1.0f / 6.0f}}) {
    SCOPED_TRACE(fc.type);
    CWPersSpecSettings s = w_->GetSettings();
    s.persistenceType = fc.type;
    s.overlayTrace = false;
    w_->ApplySettings(s);
    w_->OnCommand(CWPlotPersSpecWndw::kCmdResetPersistence);
    for (int i = 0; i < 40; ++i) Feed(*both);
    EXPECT_EQ(w_->PersPlot().GetBitmap().GetDecay(), fc.decay);
    const int32_t row = RowOf(-35.0);
    const int32_t c2 = BrightestNear(ColumnOf(1.5e6), row);
    const int32_t c1 = BrightestNear(ColumnOf(-2e6), row);
    const float before = Intensity(c2, row);
    const float keep = Intensity(c1, row);
    ASSERT_GT(before, 200.0f);
    const int inputs = 5;
    for (int i = 0; i < inputs; ++i) Feed(*first);
    const float drop = static_cast<float>(inputs * 16) * fc.decay;
    EXPECT_NEAR(Intensity(c2, row), before - drop, 0.02f);
    EXPECT_GE(Intensity(c1, row), keep - 0.02f);
    // The dimmed column shows a lower colour index than the one still lit.
    const CWPersBitmap& b = w_->PersPlot().GetBitmap();
    const int16_t i2 = b.GetColorIndex()[static_cast<size_t>(row) * b.GetColumns() + c2];
    EXPECT_EQ(i2, static_cast<int16_t>(std::nearbyint(before - drop)));
  }
}

TEST_F(PersWindow, FrequencyRangeRules) {
  // Bandwidth 0: the whole sample-rate span around the centre.
  Feed(*MakeWave(1 << 14, kTwoTones, kNoise, 3, 0.0));
  EXPECT_NEAR(w_->StartFreq(), -kRate / 2, 1.0);
  EXPECT_NEAR(w_->StopFreq(), kRate / 2, 1.0);
  // An array not marked valid: from 0 up to its band.
  auto invalid = MakeWave(1 << 14, kTwoTones, kNoise, 3, 4e6);
  invalid->SetValid(false);
  Feed(*invalid);
  EXPECT_NEAR(w_->StartFreq(), 0.0, 1.0);
  EXPECT_NEAR(w_->StopFreq(), 4e6, 1.0);
  // A manual range with start >= stop becomes the sample-rate span and is stored.
  CWPersSpecSettings s = w_->GetSettings();
  s.autoFreqRange = false;
  s.startFreq = 3e6;
  s.stopFreq = 1e6;
  w_->ApplySettings(s);
  EXPECT_NEAR(w_->StartFreq(), -kRate / 2, 1.0);
  EXPECT_NEAR(w_->StopFreq(), kRate / 2, 1.0);
  EXPECT_NEAR(w_->GetSettings().startFreq, -kRate / 2, 1.0);
}

// A maximum not above the minimum + 1 dB gives -100 .. 0 dBm at the next
// computation.
TEST_F(PersWindow, ACollapsedPowerRangeIsReset) {
  CWPersSpecSettings s = w_->GetSettings();
  s.minPower = -40.0f;
  s.maxPower = -39.5f;
  w_->ApplySettings(s);  // no waveform yet: nothing computed
  EXPECT_EQ(w_->MaxPower(), -39.5f);
  Feed(*MakeWave(1 << 14, kTwoTones, kNoise, 5));
  EXPECT_EQ(w_->MinPower(), -100.0f);
  EXPECT_EQ(w_->MaxPower(), 0.0f);
  EXPECT_EQ(w_->PersPlot().GetBottom(), -100.0f);
  EXPECT_EQ(w_->PersPlot().GetTop(), 0.0f);
}

// Accept without changes adds the held waveform's spectra once more without
// resetting; a changed minimum power resets first.
TEST_F(PersWindow, AcceptingTheSettingsAddsTheHeldWaveformAgain) {
  CWPersSpecSettings s = w_->GetSettings();
  s.persistenceType = 0;  // no fading: the sum of hits shows the number of spectra
  s.overlayTrace = false;
  w_->ApplySettings(s);
  Feed(*MakeWave(1 << 14, kTwoTones, kNoise, 9));
  const int32_t row = RowOf(-30.0);
  const int32_t c = BrightestNear(ColumnOf(-2e6), row);
  const float once = Intensity(c, row);
  w_->ApplySettings(w_->GetSettings());
  const float twice = Intensity(c, row);
  EXPECT_GT(twice, once);
  // A fresh window given the waveform twice holds the same.
  CWPlotPersSpecWndw fresh;
  fresh.Create(*frame_, L"Persistence Spectrum 2", lv::Rect{0, 0, 900, 600});
  fresh.ApplySettings(s);
  const auto wave = MakeWave(1 << 14, kTwoTones, kNoise, 9);
  fresh.SetInputData(wave.get());
  fresh.Compute();
  fresh.Compute();
  const CWPersBitmap& fb = fresh.PersPlot().GetBitmap();
  EXPECT_EQ(fb.GetIntensity()[static_cast<size_t>(row) * fb.GetColumns() + c], twice);

  s = w_->GetSettings();
  s.minPower = -90.0f;
  w_->ApplySettings(s);
  EXPECT_EQ(w_->MinPower(), -90.0f);
  const int32_t row2 = RowOf(-30.0);
  EXPECT_LE(Intensity(BrightestNear(ColumnOf(-2e6), row2), row2), once + 0.01f);
}

// The zoom takes the powers at both ends of the drag, rounds them outward
// (steps of 10 dB over 80 dB), resets and rebuilds from the held waveform.
TEST_F(PersWindow, TheZoomDragSetsRoundedPowerLimitsAndRebuilds) {
  CWPersSpecSettings s = w_->GetSettings();
  s.minPower = -160.0f;
  s.maxPower = 20.0f;
  s.persistenceType = 0;
  w_->ApplySettings(s);
  const auto wave = MakeWave(1 << 14, kTwoTones, kNoise, 13);
  Feed(*wave);
  Feed(*wave);
  w_->OnCommand(CWPlotPersSpecWndw::kCmdZoomTool);
  EXPECT_EQ(w_->MouseMode(), 2);
  const lv::Rect r = w_->ImageRect();
  const int32_t tb = w_->ToolbarWidth();
  const int32_t x = tb + (r.left + r.right) / 2;
  w_->OnLButtonDown(x, r.bottom - 3);
  EXPECT_TRUE(w_->DragActive());
  w_->OnMouseMove(x + 20, r.top + 5);
  w_->OnPaint();
  w_->OnLButtonUp(x + 20, r.top + 5);
  EXPECT_FALSE(w_->DragActive());
  EXPECT_EQ(std::fmod(w_->MinPower(), 10.0f), 0.0f);
  EXPECT_EQ(std::fmod(w_->MaxPower(), 10.0f), 0.0f);
  EXPECT_EQ(w_->MaxPower() - w_->MinPower(), 100.0f);
  // One waveform's spectra only (the image was reset before the rebuild).
  CWPlotPersSpecWndw fresh;
  fresh.Create(*frame_, L"Persistence Spectrum 3", lv::Rect{0, 0, 900, 600});
  CWPersSpecSettings f = fresh.GetSettings();
  f.minPower = w_->MinPower();
  f.maxPower = w_->MaxPower();
  f.persistenceType = 0;
  fresh.ApplySettings(f);
  fresh.SetInputData(wave.get());
  fresh.Compute();
  const size_t n = static_cast<size_t>(r.Width()) * r.Height();
  EXPECT_TRUE(std::equal(fresh.PersPlot().GetBitmap().GetIntensity(), fresh.PersPlot().GetBitmap().GetIntensity() + n,
                         w_->PersPlot().GetBitmap().GetIntensity()));
  // A short drag: the automatic step.
  const int32_t y0 = r.top + r.Height() / 2;
  w_->OnLButtonDown(x, y0);
  w_->OnLButtonUp(x, y0 - r.Height() / 10);
  EXPECT_LT(w_->MaxPower() - w_->MinPower(), 100.0f);
  EXPECT_GT(w_->MaxPower(), w_->MinPower());
}

TEST_F(PersWindow, ResizingRebuildsTheImageFromTheHeldWaveform) {
  CWPersSpecSettings s = w_->GetSettings();
  s.persistenceType = 0;
  w_->ApplySettings(s);
  const auto wave = MakeWave(1 << 14, kTwoTones, kNoise, 17);
  for (int i = 0; i < 3; ++i) Feed(*wave);
  w_->MoveSize(lv::Rect{0, 0, 700, 500});
  const lv::Size c = w_->Window()->ClientSize();
  EXPECT_EQ(w_->ImageRect().Width(), c.cx - 128 - w_->ToolbarWidth() - 30);
  EXPECT_EQ(w_->PersPlot().GetBitmap().GetColumns(), w_->ImageRect().Width());
  const int32_t row = RowOf(-30.0);
  const int32_t col = BrightestNear(ColumnOf(-2e6), row);
  CWPlotPersSpecWndw fresh;
  fresh.Create(*frame_, L"Persistence Spectrum 4", lv::Rect{0, 0, 700, 500});
  fresh.ApplySettings(s);
  fresh.SetInputData(wave.get());
  fresh.Compute();
  const CWPersBitmap& fb = fresh.PersPlot().GetBitmap();
  EXPECT_EQ(fb.GetIntensity()[static_cast<size_t>(row) * fb.GetColumns() + col], Intensity(col, row));
  // Tiny sizes keep an image of at least 100 x 100.
  w_->OnSize(150, 90);
  EXPECT_EQ(w_->ImageRect().Width(), 100);
  EXPECT_EQ(w_->ImageRect().Height(), 100);
  w_->OnSize(0, 300);  // nothing
  EXPECT_EQ(w_->ImageRect().Width(), 100);
}

// Location tool: a click in the image shows the frequency (with the centre)
// and the power; leaving the image hides it.
TEST_F(PersWindow, TheLocationToolShowsTheValuesUnderTheMouse) {
  Feed(*MakeWave(1 << 14, kTwoTones, kNoise, 19));
  const lv::Rect r = w_->ImageRect();
  const int32_t tb = w_->ToolbarWidth();
  w_->OnLButtonDown(tb + r.left - 5, r.top + 5);  // outside the image: nothing
  EXPECT_FALSE(w_->ValueWindow().IsVisible());
  const int32_t px = r.left + 100, py = r.top + 40;
  w_->OnLButtonDown(tb + px, py);
  ASSERT_TRUE(w_->ValueWindow().IsVisible());
  CWPlotPersSpec& p = w_->PersPlot();
  const double f = (px - r.left) * (p.GetStopFreq() - p.GetStartFreq()) / (r.Width() - 1) + p.GetStartFreq();
  const double dBm = (r.bottom - py - 1) * static_cast<double>(p.GetTop() - p.GetBottom()) / (r.Height() - 1) +
                     p.GetBottom();
  EXPECT_DOUBLE_EQ(w_->ValueWindow().xValue, f + kCentre);
  EXPECT_DOUBLE_EQ(w_->ValueWindow().yValue, dBm);
  EXPECT_EQ(w_->ValueWindow().xAxisType, 2);
  EXPECT_EQ(w_->ValueWindow().yAxisType, 13);
  w_->OnMouseMove(tb + px + 1, py);
  EXPECT_EQ(w_->Window()->Cursor(), lv::CursorKind::kCross);
  w_->OnPaint();  // the value window is composed over the frame
  const lv::Rect g = w_->ValueWindow().Geometry();
  EXPECT_EQ(w_->LastFrame().Pixel(g.left + g.Width() / 2, g.top + g.Height() / 2 + 8), lv::kWindowColor);
  w_->OnLButtonUp(tb + px, py);
  EXPECT_FALSE(w_->ValueWindow().IsVisible());
  w_->OnLButtonDown(tb + px, py);
  w_->OnMouseMove(tb + r.left - 10, py);  // leaving the image hides it
  EXPECT_FALSE(w_->ValueWindow().IsVisible());
  EXPECT_EQ(w_->Window()->Cursor(), lv::CursorKind::kArrow);
  w_->OnCommand(CWPlotPersSpecWndw::kCmdZoomTool);
  w_->OnMouseMove(tb + px, py);
  EXPECT_EQ(w_->Window()->Cursor(), lv::CursorKind::kSizeVertical);
}

TEST_F(PersWindow, PopupAndToolbarCommands) {
  auto checked = [&](uint32_t id) {
    for (const lv::MenuItem& m : w_->PopupMenu()) {
      if (m.id == id) return m.checked;
    }
    return false;
  };
  std::vector<std::wstring> texts;
  for (const lv::MenuItem& m : w_->PopupMenu()) texts.push_back(m.separator ? L"-" : m.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Copy Image", L"Save Image...", L"Print Image...", L"-",
                                               L"Settings...", L"Grid On", L"Reset Persistence", L"-",
                                               L"Screen Color Scheme", L"Paper Color Scheme", L"Show/Hide Toolbar",
                                               L"-"}));
  EXPECT_TRUE(checked(CWPlotPersSpecWndw::kCmdGridOn));
  EXPECT_TRUE(checked(CWPlotPersSpecWndw::kCmdScreenScheme));
  w_->OnCommand(CWPlotPersSpecWndw::kCmdGridOn);
  EXPECT_FALSE(w_->GridOn());
  EXPECT_FALSE(checked(CWPlotPersSpecWndw::kCmdGridOn));
  w_->OnCommand(CWPlotPersSpecWndw::kCmdGridOn);
  EXPECT_TRUE(w_->GridOn());
  w_->OnCommand(CWPlotPersSpecWndw::kCmdPaperScheme);
  EXPECT_FALSE(w_->ScreenScheme());
  EXPECT_EQ(w_->TextColor(), 0);
  EXPECT_EQ(w_->BackgroundColor(), 1);
  EXPECT_TRUE(checked(CWPlotPersSpecWndw::kCmdPaperScheme));
  EXPECT_FALSE(checked(CWPlotPersSpecWndw::kCmdScreenScheme));
  w_->OnCommand(CWPlotPersSpecWndw::kCmdScreenScheme);
  EXPECT_EQ(w_->TextColor(), 10);
  EXPECT_EQ(w_->BackgroundColor(), 0);

  // The toolbar: its buttons switch the mouse mode; hiding it widens the surface.
  const auto buttons = w_->ToolbarButtons();
  w_->OnLButtonDown(buttons[2].rect.left + 3, buttons[2].rect.top + 3);
  EXPECT_EQ(w_->MouseMode(), 2);
  w_->OnLButtonDown(buttons[0].rect.left + 3, buttons[0].rect.top + 3);
  EXPECT_EQ(w_->MouseMode(), 1);
  const int32_t width = w_->ImageRect().Width();
  w_->OnCommand(CWPlotPersSpecWndw::kCmdShowHideToolbar);
  EXPECT_FALSE(w_->ToolbarShown());
  EXPECT_EQ(w_->ToolbarWidth(), 0);
  EXPECT_EQ(w_->ImageRect().Width(), width + CWPlotPersSpecWndw::kToolbarWidth);
  w_->ShowToolbar(true);
  EXPECT_EQ(w_->ImageRect().Width(), width);

  // Settings and Axes Limits run the dialog filled with the window's values and
  // apply what it accepts; Escape applies nothing.
  std::wstring shownMax;
  lv::AnswerNextDialog({lv::DialogStep::Inspect([&](lv::Dialog* d) { shownMax = d->GetItemText(kIdcPersMaxPower); }),
                        lv::DialogStep::Type(kIdcPersMaxPower, L"-20"), lv::DialogStep::Pick(kIdcPersPersistence, 3),
                        lv::DialogStep::Click(kIdcPersAccept)});
  w_->OnCommand(CWPlotPersSpecWndw::kCmdSettings);
  Settle();
  EXPECT_EQ(shownMax, L"0.00");
  EXPECT_EQ(w_->MaxPower(), -20.0f);
  EXPECT_EQ(w_->GetSettings().persistenceType, 3);
  lv::AnswerNextDialog({lv::DialogStep::Type(kIdcPersMaxPower, L"-50"), lv::DialogStep::Escape()});
  w_->OnCommand(CWPlotPersSpecWndw::kCmdAxesLimits);
  Settle();
  EXPECT_EQ(w_->MaxPower(), -20.0f);

  // Reset Persistence clears the image; the close box only hides.
  Feed(*MakeWave(1 << 14, kTwoTones, kNoise, 23));
  EXPECT_TRUE(w_->PersPlot().IsReady());
  w_->OnCommand(CWPlotPersSpecWndw::kCmdResetPersistence);
  EXPECT_FALSE(w_->PersPlot().IsReady());
  w_->HandleMessage(lv::WindowMessage{w_->Window()->Id(), lv::WindowMessageKind::kClose});
  EXPECT_FALSE(w_->Window()->IsVisible());
}

TEST_F(PersWindow, SaveCopyAndPrintTheImage) {
  Feed(*MakeWave(1 << 15, kTwoTones, kNoise, 29));
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lv_pers_window_test-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  // A name without an extension is saved as PNG.
  hooks::PushFileAnswer((dir / "pers").wstring());
  w_->OnCommand(CWPlotPersSpecWndw::kCmdSaveImage);
  Settle();
  const lv::Bitmap saved = lv::Bitmap::Load((dir / "pers.png").string());
  ASSERT_FALSE(saved.IsNull());
  EXPECT_EQ(saved.Width(), w_->FreqAxisBox().right);
  EXPECT_EQ(saved.Height(), w_->FreqAxisBox().bottom + 1);
  EXPECT_TRUE(saved.SamePixels(w_->RenderImageForSave()));
  for (const char* name : {"pers.bmp", "pers.jpg", "pers.gif"}) {
    hooks::PushFileAnswer((dir / name).wstring());
    w_->OnCommand(CWPlotPersSpecWndw::kCmdSaveImage);
    Settle();
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  }
  hooks::PushFileAnswer(L"");  // cancelled: nothing written
  w_->OnCommand(CWPlotPersSpecWndw::kCmdSaveImage);
  Settle();
  // Copy: a vector picture and a bitmap of the area right of the toolbar.
  w_->OnCommand(CWPlotPersSpecWndw::kCmdCopyImage);
  lv::ServeGuiEvents(20);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_NE(data->data("image/svg+xml").toStdString().find("<svg"), std::string::npos);
  ASSERT_TRUE(data->hasImage());
  const QImage image = qvariant_cast<QImage>(data->imageData());
  const lv::Size c = w_->Window()->ClientSize();
  EXPECT_EQ(image.width(), c.cx - w_->ToolbarWidth());
  EXPECT_EQ(image.height(), c.cy);

  // Print into a PDF; the screen colours come back afterwards.
  hooks::PushPrintToPdfAnswer((dir / "pers.pdf").string());
  w_->OnCommand(CWPlotPersSpecWndw::kCmdPrintImage);
  EXPECT_GT(std::filesystem::file_size(dir / "pers.pdf"), 1000u);
  EXPECT_EQ(w_->TextColor(), 10);
  EXPECT_EQ(w_->BackgroundColor(), 0);
  std::filesystem::remove_all(dir);
}

// The picture a person looks at: the window inside its frame, two tones over
// a noise floor with medium decay and the last trace overlaid.
TEST_F(PersWindow, Gallery) {
  w_->MoveSize(lv::Rect{0, 0, 1000, 640});
  CWPersSpecSettings s = w_->GetSettings();
  s.persistenceType = 2;
  w_->ApplySettings(s);
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> jitter(-0.15e6, 0.15e6);
  for (int i = 0; i < 30; ++i) {
    const std::vector<Tone> tones = {{-2e6, 0.1}, {1.5e6 + jitter(rng), 0.03}, {0.2e6, 0.002}};
    Feed(*MakeWave(1 << 15, tones, 1e-3f, 100 + i));
  }
  w_->OnLButtonDown(w_->ToolbarWidth() + w_->ImageRect().left + 300, w_->ImageRect().top + 120);
  w_->OnPaint();
  const std::string dir = lv_test::GalleryFolder("plots_windows");
  ASSERT_TRUE(w_->LastFrame().Save(dir + "/persistence_spectrum_window.png"));
  w_->OnLButtonUp(w_->ToolbarWidth() + w_->ImageRect().left + 300, w_->ImageRect().top + 120);
  w_->OnCommand(CWPlotPersSpecWndw::kCmdPaperScheme);
  w_->OnPaint();
  ASSERT_TRUE(w_->LastFrame().Save(dir + "/persistence_spectrum_window_paper.png"));
  // The frame with the child window as the widgets show it.
  for (int i = 0; i < 20; ++i) lv::ServeGuiEvents(2);
  hooks::RepaintNow(w_->Window()->Id());
  EXPECT_TRUE(hooks::SaveWindowPng(frame_->Id(), dir + "/persistence_spectrum_in_frame.png"));
}

}  // namespace
