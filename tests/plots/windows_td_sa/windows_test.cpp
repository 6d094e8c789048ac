// The time-domain and spectrum windows as a person uses them: real windows on
// the offscreen platform owned by the test's thread (also the GUI thread),
// real mouse and key events, the pop-up menu's commands and the measurement
// dialogs answered by script.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "plots/colors.h"
#include "plots/windows/acpr_dlg.h"
#include "plots/windows/pib_dlg.h"
#include "plots/windows/spectrum_dlg.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/time_domain_window.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

namespace hooks = lv::test_hooks;

constexpr double kRate = 10e6;

std::unique_ptr<CQCArrayTD> Tone(int n, double f, double amp, double centre = 0.0) {
  std::vector<CQComplex> v(n);
  for (int k = 0; k < n; ++k) {
    const double ph = 2.0 * M_PI * f * k / kRate;
    v[k] = CQComplex(static_cast<float>(amp * std::cos(ph)), static_cast<float>(amp * std::sin(ph)));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), n, kRate, 0.0);
  a->SetCenterFreq(centre);
  return a;
}

std::unique_ptr<CQCArrayTD> Chirp(int n) {
  std::vector<CQComplex> v(n);
  const double slope = 4e6 / (n / kRate);
  for (int k = 0; k < n; ++k) {
    const double t = k / kRate;
    const double ph = 2.0 * M_PI * (-2e6 * t + 0.5 * slope * t * t);
    v[k] = CQComplex(static_cast<float>(0.7 * std::cos(ph)), static_cast<float>(0.7 * std::sin(ph)));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), n, kRate, 0.0);
  return a;
}

void Pump(int rounds = 10) {
  for (int i = 0; i < rounds; ++i) {
    lv::ServeGuiEvents(2);
    lv::DispatchWindowMessages();
  }
}

bool PumpUntil(const std::function<bool()>& condition, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(1);
  }
  return true;
}

std::vector<std::wstring> Texts(const std::vector<lv::MenuItem>& items) {
  std::vector<std::wstring> out;
  for (const lv::MenuItem& m : items) {
    out.push_back(m.separator ? L"-" : (m.checked ? L"[x] " : L"") + m.text);
  }
  return out;
}

class PlotWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    lv::ClearDialogAnswers();
    frame_ = std::make_unique<lv::FrameWindow>(L"Plots", lv::Rect{0, 0, 1100, 800});
    frame_->Show(true);
  }
  void TearDown() override {
    hooks::ClearAnswers();
    lv::ClearDialogAnswers();
    td_.reset();
    sa_.reset();
    frame_.reset();
    Pump(3);
    if (lv::IsGuiRuntimeStarted()) lv::ShutDownGuiRuntime();
  }

  void Show(CWPlot2DToolWndw& w) {
    w.Window()->Show(true);
    ASSERT_TRUE(PumpUntil([&] { return hooks::IsShown(w.Window()->Id()); }));
    Pump();
  }
  // The time-domain window as its plot thread makes it, with a waveform drawn.
  void MakeTD(const CQCArrayTD* input, int type = 0) {
    td_ = std::make_unique<CWPlotCTDWndw>();
    ASSERT_TRUE(td_->CreateToolWindow(L"Time Domain 1", lv::Rect{10, 10, 810, 510}, *frame_));
    td_->SetIQNaming(true);
    td_->SetPlotType(type);
    Show(*td_);
    td_->SetData(input);
    td_->DrawPlot();
  }
  void MakeSA(const CQCArrayTD* input) {
    sa_ = std::make_unique<CWPlotSAWndw>();
    ASSERT_TRUE(sa_->CreateToolWindow(L"Spectrum 1", lv::Rect{20, 20, 820, 520}, *frame_));
    Show(*sa_);
    sa_->SetData(input);
    sa_->ComputeSpectrum();
    sa_->DrawPlot();
  }
  // A client point at a fraction of the plot area.
  lv::Point PlotPoint(const CWPlot2DToolWndw& w, double fx, double fy) const {
    const lv::Rect& a = w.plotArea;
    return lv::Point{w.ToolbarWidth() + a.left + static_cast<int32_t>(fx * (a.Width() - 1)),
                     a.top + static_cast<int32_t>(fy * (a.Height() - 1))};
  }
  void Click(const CWPlot2DToolWndw& w, lv::Point p) {
    ASSERT_TRUE(hooks::SendMouse(w.Window()->Id(), hooks::MouseAction::kPress, p, 1, 1, 0));
    ASSERT_TRUE(hooks::SendMouse(w.Window()->Id(), hooks::MouseAction::kRelease, p, 1, 0, 0));
    Pump();
  }
  void Key(const CWPlot2DToolWndw& w, int32_t key) {
    ASSERT_TRUE(hooks::SendKey(w.Window()->Id(), true, key, 0));
    ASSERT_TRUE(hooks::SendKey(w.Window()->Id(), false, key, 0));
    Pump();
  }
  void Gallery(CWPlot2DToolWndw& w, const std::string& name) {
    w.Redraw();
    Pump();
    ASSERT_TRUE(w.LastFrame().Save(lv_test::GalleryFolder("plots_windows") + "/" + name));
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<CWPlotCTDWndw> td_;
  std::unique_ptr<CWPlotSAWndw> sa_;
};

TEST_F(PlotWindows, TimeDomainPopupMenuNamesAndTicksThePlotTypes) {
  auto tone = Tone(200, 1e6, 0.5);
  MakeTD(tone.get(), 5);
  const std::vector<std::wstring> texts = Texts(td_->BuildPopupMenu());
  const std::vector<std::wstring> want = {
      L"Copy Image", L"Save Image...", L"Print Image...", L"-", L"Save IQ Data...", L"Save Formatted Data...", L"-",
      L"[x] Screen Color Scheme", L"Paper Color Scheme", L"Show/Hide Toolbar", L"-", L"[x] Lines On", L"Symbols On",
      L"-", L"Save to Memory 1", L"Memory 1 On", L"Save to Memory 2", L"Memory 2 On", L"-", L"Log Mag vs Time",
      L"Phase vs Time", L"Unwrapped Phase vs Time", L"Deriv Unwrapped Phase vs Time", L"Q vs I",
      L"[x] I && Q vs Time"};
  EXPECT_EQ(texts, want);
  td_->SetIQNaming(false);
  const auto plain = Texts(td_->BuildPopupMenu());
  EXPECT_EQ(plain[23], L"Imaginary vs Real");
  EXPECT_EQ(plain[24], L"[x] Real && Imaginary vs Time");
}

TEST_F(PlotWindows, PlotTypeCommandRedrawsOnlyWhenTheTypeChanges) {
  auto tone = Tone(200, 1e6, 0.5);
  MakeTD(tone.get(), 0);
  td_->OnCommand(CWPlot2DToolWndw::kCmdSaveMemory1);
  td_->yAutoScale = false;
  ASSERT_TRUE(td_->memoryShown[0]);
  // The type that is current: nothing changes.
  td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + 0);
  EXPECT_TRUE(td_->memoryShown[0]);
  EXPECT_FALSE(td_->yAutoScale);
  EXPECT_EQ(td_->yAxisType, 13);
  // Another: stored, auto-scaled, memories hidden, drawn.
  td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + 4);
  EXPECT_EQ(td_->GetPlotType(), 4);
  EXPECT_TRUE(td_->yAutoScale);
  EXPECT_FALSE(td_->memoryShown[0] || td_->memoryShown[1]);
  EXPECT_EQ(td_->xAxisType, 6);
  EXPECT_EQ(td_->yAxisType, 7);
  // SetPlotType stores without drawing.
  td_->SetPlotType(1);
  EXPECT_EQ(td_->yAxisType, 7);
  td_->DrawPlot();
  EXPECT_EQ(td_->yAxisType, 14);
  // An unknown type draws nothing and ticks no item.
  td_->SetPlotType(9);
  td_->DrawPlot();
  EXPECT_EQ(td_->yAxisType, 14);
  for (const lv::MenuItem& m : td_->BuildPopupMenu()) EXPECT_FALSE(m.checked && m.id >= 36116 && m.id <= 36121);
}

TEST_F(PlotWindows, TimeDomainMarkerPlacedByMouseSnapsAndStepsWithArrows) {
  auto tone = Tone(200, 1e6, 0.5);
  MakeTD(tone.get(), 5);
  td_->OnCommand(CWPlot2DToolWndw::kCmdPlaceMarker);
  EXPECT_EQ(td_->MouseMode(), CWPlot2DToolWndw::kModeMarker);
  EXPECT_TRUE(td_->IsButtonPressed(CWPlot2DToolWndw::kCmdPlaceMarker));
  Click(*td_, PlotPoint(*td_, 0.5, 0.5));
  ASSERT_TRUE(td_->markerOn);
  const double dt = 1.0 / kRate;
  const double k = td_->markerX / dt;
  EXPECT_NEAR(k, std::round(k), 1e-6) << "on a sample";
  int index = static_cast<int>(std::lround(k));
  EXPECT_TRUE(td_->markerComplex);
  EXPECT_EQ(td_->markerReal, tone->GetDataPtr()[index].re);
  EXPECT_EQ(td_->markerImag, tone->GetDataPtr()[index].im);
  Key(*td_, lv::kKeyRight);
  EXPECT_NEAR(td_->markerX, (index + 1) * dt, 1e-15);
  EXPECT_EQ(td_->markerImag, tone->GetDataPtr()[index + 1].im);
  Key(*td_, lv::kKeyLeft);
  Key(*td_, lv::kKeyLeft);
  EXPECT_NEAR(td_->markerX, (index - 1) * dt, 1e-15);
  // At the ends the steps stop.
  td_->markerX = 199 * dt;
  Key(*td_, lv::kKeyRight);
  EXPECT_NEAR(td_->markerX, 199 * dt, 1e-15);
  Gallery(*td_, "window_td_tone_iq_marker.png");
  // "Q vs I" switches the marker off on drawing; keys then change nothing.
  td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + 4);
  EXPECT_FALSE(td_->markerOn);
  const double x = td_->markerX;
  Key(*td_, lv::kKeyRight);
  EXPECT_EQ(td_->markerX, x);
  // Marker On/Off toggles and shows pressed.
  td_->OnCommand(CWPlot2DToolWndw::kCmdMarkerOnOff);
  EXPECT_TRUE(td_->markerOn);
  EXPECT_TRUE(td_->IsButtonPressed(CWPlot2DToolWndw::kCmdMarkerOnOff));
}

TEST_F(PlotWindows, TimeDomainMemoryCommandsFollowThePlotType) {
  auto tone = Tone(200, 1e6, 0.5);
  MakeTD(tone.get(), 5);
  td_->OnCommand(CWPlot2DToolWndw::kCmdSaveMemory2);
  EXPECT_EQ(td_->GetMemoryPointCount(2), 0);
  td_->OnCommand(CWPlot2DToolWndw::kCmdSaveMemory1);
  EXPECT_TRUE(td_->memoryShown[0] && td_->memoryShown[1]);
  EXPECT_EQ(td_->MemoryY(2, 3), tone->GetDataPtr()[3].im);
  td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + 0);
  td_->OnCommand(CWPlot2DToolWndw::kCmdSaveMemory2);
  EXPECT_TRUE(td_->memoryShown[1]);
  EXPECT_FALSE(td_->memoryShown[0]);
  EXPECT_EQ(td_->MemoryY(2, 3), td_->DatasetY(1, 3));
}

TEST_F(PlotWindows, TimeDomainClearAndEmptyInput) {
  auto tone = Tone(200, 1e6, 0.5);
  MakeTD(tone.get(), 0);
  EXPECT_TRUE(td_->hasData);
  td_->ClearPlot();
  EXPECT_FALSE(td_->hasData);
  td_->DrawPlot();
  EXPECT_FALSE(td_->hasData);
  CQCArrayTD empty;
  td_->SetData(&empty);
  td_->DrawPlot();
  EXPECT_FALSE(td_->hasData);
}

TEST_F(PlotWindows, TimeDomainGallery) {
  auto tone = Tone(200, 1e6, 0.5);
  auto chirp = Chirp(2000);
  MakeTD(tone.get(), 0);
  for (int type = 0; type < 6; ++type) {
    td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + static_cast<uint32_t>(type));
    Gallery(*td_, "window_td_tone_type" + std::to_string(type) + ".png");
  }
  td_->SetData(chirp.get());
  for (int type = 0; type < 6; ++type) {
    td_->OnCommand(CWPlotCTDWndw::kCmdFirstPlotType + static_cast<uint32_t>(type));
    td_->DrawPlot();
    Gallery(*td_, "window_td_chirp_type" + std::to_string(type) + ".png");
  }
}

TEST_F(PlotWindows, SpectrumPopupAndRefusedMeasurementDialogs) {
  auto tone = Tone(1 << 15, 1e6, 0.5);
  MakeSA(tone.get());
  const auto texts = Texts(sa_->BuildPopupMenu());
  const std::vector<std::wstring> tail(texts.end() - 6, texts.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"-", L"Spectrum Settings...", L"-", L"ACPR Measurement...",
                                             L"Power in a Band Measurement...", L"Reset Measurement Averaging"}));
  EXPECT_EQ(sa_->yMin, -80.0);
  EXPECT_EQ(sa_->yMax, 20.0);
  EXPECT_FALSE(sa_->yAutoScale);
  // PiB on: the ACPR dialog is refused with its message and changes nothing.
  CQPiBMeasBandList bands(2);
  bands.SetSize(2);
  bands.GetItem(0)->on = true;
  bands.GetItem(0)->bandwidth = 1e6;
  sa_->ApplyPiB(true, bands);
  lv_test::ShownErrors shown;
  sa_->OnCommand(CWPlotSAWndw::kCmdACPRDialog);
  ASSERT_EQ(shown.Messages().size(), 1u);
  EXPECT_EQ(shown.Messages()[0], CWSpectrumModel::kACPRRefused);
  EXPECT_EQ(shown.Entries()[0].callStack, "CWPlotSAWndw::OnPopupMenuACPRDialog\n");
  EXPECT_FALSE(sa_->Model().acprOn);
  EXPECT_EQ(lv::ClearDialogAnswers(), 0);
  // And the other way round.
  sa_->ApplyPiB(false, bands);
  sa_->ApplyACPR(true, CQACPRMeasBands());
  sa_->OnCommand(CWPlotSAWndw::kCmdPiBDialog);
  ASSERT_EQ(shown.Messages().size(), 2u);
  EXPECT_EQ(shown.Messages()[1], CWSpectrumModel::kPiBRefused);
  EXPECT_EQ(shown.Entries()[1].callStack, "CWPlotSAWndw::OnPopupMenuPiBDialog\n");
}

TEST_F(PlotWindows, ACPRDialogTurnsTheMeasurementOnAndOff) {
  auto tone = Tone(1 << 15, 100e3, 0.5, 2.4e9);
  MakeSA(tone.get());
  // Escape cancels: nothing changes.
  lv::AnswerNextDialog({lv::DialogStep::Check(kIdcACPROn, 1), lv::DialogStep::Escape()});
  sa_->OnCommand(CWPlotSAWndw::kCmdACPRDialog);
  EXPECT_FALSE(sa_->Model().acprOn);
  EXPECT_EQ(sa_->BackgroundBlocks().GetCount(), 0);
  const int32_t plotBottom = sa_->plotArea.bottom;
  // On, with the second adjacent pair.
  lv::AnswerNextDialog({lv::DialogStep::Check(kIdcACPROn, 1), lv::DialogStep::Check(kIdcACPRAdj2On, 1),
                        lv::DialogStep::Click(kIdcACPRAccept)});
  sa_->OnCommand(CWPlotSAWndw::kCmdACPRDialog);
  ASSERT_TRUE(sa_->Model().acprOn);
  EXPECT_TRUE(sa_->Model().ACPRBands().adjacent2On);
  EXPECT_EQ(sa_->bottomMargin, sa_->defaultBottomMargin + 36);
  EXPECT_EQ(sa_->plotArea.bottom, plotBottom - 36);
  EXPECT_EQ(sa_->BackgroundBlocks().GetCount(), 5);
  EXPECT_TRUE(sa_->Model().ACPRBands().resultsValid);
  EXPECT_EQ(std::wstring(sa_->Model().ACPRBands().GetName()), L"Spectrum 1");
  Gallery(*sa_, "window_sa_acpr.png");
  // The texts stand under the plot: "Center" in its green at the middle.
  const lv::Bitmap& frame = sa_->LastFrame();
  const int32_t mid = sa_->ToolbarWidth() + (sa_->plotArea.left + sa_->plotArea.right) / 2;
  const int32_t base = sa_->drawRect.bottom - 28;
  int green = 0;  // text pixels (smoothed edges included) in the label's green
  for (int y = base - 12; y <= base + 2; ++y) {
    for (int x = mid - 25; x <= mid + 25; ++x) {
      const lv::Color c = frame.Pixel(x, y);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      green += g > 60 && g > r + 40 && g > b + 20;
    }
  }
  EXPECT_GT(green, 10);
  // Reset averaging clears the results without drawing.
  sa_->OnCommand(CWPlotSAWndw::kCmdResetAveraging);
  EXPECT_FALSE(sa_->Model().ACPRBands().resultsValid);
  // Lock Horizontal Axis Scale with a measurement on: the range follows the
  // spectrum again at once.
  sa_->OnCommand(CWPlot2DToolWndw::kCmdLockHorizontal);
  EXPECT_TRUE(sa_->xAutoScale);
  // Off through its dialog: no blocks, automatic margin.
  lv::AnswerNextDialog({lv::DialogStep::Check(kIdcACPROn, 0), lv::DialogStep::Click(kIdcACPRAccept)});
  sa_->OnCommand(CWPlotSAWndw::kCmdACPRDialog);
  EXPECT_FALSE(sa_->Model().acprOn);
  EXPECT_EQ(sa_->BackgroundBlocks().GetCount(), 0);
  // The automatic margin again (the drawing resolves it to the default).
  EXPECT_EQ(sa_->plotArea.bottom, plotBottom);
  EXPECT_NE(sa_->bottomMargin, sa_->defaultBottomMargin + 36);
}

TEST_F(PlotWindows, PowerInBandDialogAndGallery) {
  std::vector<CQComplex> v(1 << 15);
  for (size_t k = 0; k < v.size(); ++k) {
    const double a = 2.0 * M_PI * -1e6 * k / kRate, b = 2.0 * M_PI * 2e6 * k / kRate;
    v[k] = CQComplex(static_cast<float>(0.3 * std::cos(a) + 0.03 * std::cos(b)),
                     static_cast<float>(0.3 * std::sin(a) + 0.03 * std::sin(b)));
  }
  CQCArrayTD two;
  two.Set(v.data(), static_cast<int>(v.size()), kRate, 0.0);
  two.SetCenterFreq(915e6);
  MakeSA(&two);
  lv::AnswerNextDialog({lv::DialogStep::Check(kIdcPiBOn, 1), lv::DialogStep::Check(kIdcPiBBand1On, 1),
                        lv::DialogStep::Type(kIdcPiBBand1Offset, L"-1"), lv::DialogStep::Type(kIdcPiBBand1BW, L"0.4"),
                        lv::DialogStep::Check(kIdcPiBBand2On, 1), lv::DialogStep::Type(kIdcPiBBand2Offset, L"2"),
                        lv::DialogStep::Type(kIdcPiBBand2BW, L"0.4"), lv::DialogStep::Click(kIdcPiBAccept)});
  sa_->OnCommand(CWPlotSAWndw::kCmdPiBDialog);
  ASSERT_TRUE(sa_->Model().pibOn);
  ASSERT_EQ(sa_->Model().PiBBands().GetSize(), 2);
  CQPiBMeasBand* b1 = sa_->Model().PiBBands().GetItem(0);
  CQPiBMeasBand* b2 = sa_->Model().PiBBands().GetItem(1);
  EXPECT_DOUBLE_EQ(b1->freq, -1e6);
  EXPECT_DOUBLE_EQ(b2->bandwidth, 0.4e6);
  ASSERT_TRUE(b1->valid && b2->valid);
  EXPECT_NEAR(b1->powerdBm - b2->powerdBm, 20.0, 0.2);
  EXPECT_EQ(sa_->BackgroundBlocks().GetCount(), 2);
  Gallery(*sa_, "window_sa_pib.png");
}

TEST_F(PlotWindows, AlwaysShownSpectrumIgnoresTheCloseBox) {
  auto tone = Tone(1 << 12, 1e6, 0.5);
  MakeSA(tone.get());
  sa_->alwaysShown = true;
  ASSERT_TRUE(hooks::UserClose(sa_->Window()->Id()));
  Pump();
  EXPECT_TRUE(sa_->Window()->IsVisible());
  sa_->alwaysShown = false;
  ASSERT_TRUE(hooks::UserClose(sa_->Window()->Id()));
  Pump();
  EXPECT_FALSE(sa_->Window()->IsVisible());
}

TEST_F(PlotWindows, SpectrumSettingsDialogAndMarkerKeys) {
  auto tone = Tone(1 << 15, 1e6, 0.5);
  MakeSA(tone.get());
  ASSERT_EQ(sa_->Model().Spectrum()->GetNumPoints(), 501);
  lv::AnswerNextDialog({lv::DialogStep::Type(kIdcSANumFreqs, L"201"), lv::DialogStep::Click(kIdcSAAccept)});
  sa_->OnCommand(CWPlotSAWndw::kCmdSpectrumDialog);
  EXPECT_EQ(sa_->Model().AvgSpectrum().GetNumFreqs(), 201);
  EXPECT_EQ(sa_->Model().Spectrum()->GetNumPoints(), 201);
  EXPECT_EQ(sa_->GetPointCount(1), 201);
  // Cancel keeps everything.
  lv::AnswerNextDialog({lv::DialogStep::Type(kIdcSANumFreqs, L"301"), lv::DialogStep::Click(kIdcSACancel)});
  sa_->OnCommand(CWPlotSAWndw::kCmdSpectrumDialog);
  EXPECT_EQ(sa_->GetPointCount(1), 201);
  // The marker on the frequency grid, stepped by the arrows.
  sa_->OnCommand(CWPlot2DToolWndw::kCmdPlaceMarker);
  Click(*sa_, PlotPoint(*sa_, 0.6, 0.5));
  ASSERT_TRUE(sa_->markerOn);
  const CQFArrayFD* s = sa_->Model().Spectrum();
  const double k = (sa_->markerX - s->GetStartFreq()) / s->GetFreqStep();
  EXPECT_NEAR(k, std::round(k), 1e-6);
  const int index = static_cast<int>(std::lround(k));
  EXPECT_EQ(sa_->markerValue, s->GetDataPtr()[index]);
  Key(*sa_, lv::kKeyRight);
  EXPECT_DOUBLE_EQ(sa_->markerX, s->GetStartFreq() + (index + 1) * s->GetFreqStep());
  EXPECT_EQ(sa_->markerValue, s->GetDataPtr()[index + 1]);
  Gallery(*sa_, "window_sa_tone_marker.png");
}

}  // namespace
