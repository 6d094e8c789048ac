// The plot windows' settings keys (see plot_settings_keys.h).
//
// Every recalled value passes the check of what the window itself accepts
// before it is stored: a value that fails (not a number, infinite, a limit
// pair whose maximum is not above its minimum, a count below 1, an unknown
// type) leaves the window's current value, as a missing key does. Files
// written by hand or by an older program therefore never put a window into
// a state its dialogs could not produce.
#include "plots/threads/plot_settings_keys.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "core/error.h"
#include "core/spectral/acpr.h"
#include "core/spectral/avg_spectrum.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/power_in_band.h"
#include "core/spectral/spectrum_plan.h"
#include "platform/gui/window.h"
#include "platform/window_messages.h"
#include "plots/plot2d.h"
#include "plots/windows/pers_spec_wndw.h"
#include "plots/windows/spectrum_model.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/spgm_window.h"
#include "plots/windows/time_domain_window.h"
#include "workers/cw_rect.h"
#include "workers/settings_file.h"

namespace {

constexpr const char* kNoPrefix = "Programming error: Settings prefix string not set.";

// Plot types of the time-domain window (0 .. 5).
constexpr int32_t kNumTDPlotTypes = 6;
// Persistence types: "Infinite", "Slow decay", "Medium decay", "Fast decay".
constexpr int32_t kNumPersistenceTypes = 4;
// The most power-in-band bands a file may ask for. The window measures and
// shows two; the limit only keeps a damaged count from allocating without
// bound.
constexpr int32_t kMaxPiBBands = 64;

// The keys of one window: its prefix followed by a fixed name.
class Keys {
 public:
  Keys(const std::wstring& prefix, CQAppSettings& s) : prefix_(prefix), s_(s) {}

  std::wstring Key(const std::wstring& name) const { return prefix_ + name; }

  template <typename T>
  void Set(const std::wstring& name, const T& value) {
    s_.SetValue(Key(name).c_str(), value);
  }
  template <typename T>
  bool Get(const std::wstring& name, T* out) {
    return s_.GetValue(Key(name).c_str(), out);
  }

 private:
  const std::wstring& prefix_;
  CQAppSettings& s_;
};

bool Finite(double v) { return std::isfinite(v); }
bool Positive(double v) { return std::isfinite(v) && v > 0.0; }

// A recalled value replaces *target only when it was found and passes ok.
template <typename T, typename Ok>
void RecallChecked(Keys& k, const wchar_t* name, T* target, Ok ok) {
  T v{};
  if (k.Get(name, &v) && ok(v)) {
    *target = v;
  }
}
void RecallBool(Keys& k, const wchar_t* name, bool* target) {
  RecallChecked(k, name, target, [](bool) { return true; });
}
void RecallFinite(Keys& k, const wchar_t* name, double* target) {
  RecallChecked(k, name, target, [](double v) { return Finite(v); });
}
void RecallPositive(Keys& k, const wchar_t* name, double* target) {
  RecallChecked(k, name, target, [](double v) { return Positive(v); });
}
void RecallCount(Keys& k, const wchar_t* name, int32_t* target) {
  RecallChecked(k, name, target, [](int32_t v) { return v >= 1; });
}

// A pair of axis limits read only together (both keys present, both finite,
// max above min, above 0 on a logarithmic axis).
bool RecallAxisPair(Keys& k, const wchar_t* minName, const wchar_t* maxName, bool logAxis, double* min,
                    double* max) {
  double lo = 0.0;
  double hi = 0.0;
  if (!k.Get(minName, &lo) || !k.Get(maxName, &hi)) {
    return false;
  }
  if (!Finite(lo) || !Finite(hi) || !(hi > lo) || (logAxis && !(lo > 0.0))) {
    return false;
  }
  *min = lo;
  *max = hi;
  return true;
}

// A pair whose keys are applied each when present: the values found (and
// finite) replace the current ones when the resulting maximum lies above the
// resulting minimum; otherwise both stay.
template <typename T>
void RecallLoosePair(Keys& k, const wchar_t* minName, const wchar_t* maxName, T* min, T* max) {
  T lo = *min;
  T hi = *max;
  T v{};
  if (k.Get(minName, &v) && Finite(static_cast<double>(v))) {
    lo = v;
  }
  if (k.Get(maxName, &v) && Finite(static_cast<double>(v))) {
    hi = v;
  }
  if (hi > lo) {
    *min = lo;
    *max = hi;
  }
}

// Runs a save or recall: the prefix checked first; a CQError gets the
// caller's name appended on its way out.
template <typename Fn>
void Run(const std::wstring& prefix, const char* caller, Fn fn) {
  try {
    if (prefix.empty()) {
      throw new CQError(kNoPrefix);
    }
    fn();
  } catch (CQError* e) {
    if (caller != nullptr) {
      e->AddToCallStack(caller);
    }
    throw;
  }
}

// Section mode on for the prefix's lines while it lives; off again on every
// way out.
class SectionScope {
 public:
  SectionScope(CQAppSettings& s, const std::wstring& prefix) : s_(s) {
    s_.ExtractSection(prefix.c_str());
    s_.SetUseSection(1);
  }
  ~SectionScope() { s_.SetUseSection(0); }
  SectionScope(const SectionScope&) = delete;
  SectionScope& operator=(const SectionScope&) = delete;

 private:
  CQAppSettings& s_;
};

// ---- Visibility and position ---------------------------------------------------

// Visible (unless the window is always shown), then the window rectangle in
// the main window's plot-area coordinates (the coordinates of the window's
// own geometry). A window not created yet counts as hidden and has no
// rectangle.
void SavePlacement(Keys& k, const lv::ChildWindow* win, bool alwaysShown) {
  if (!alwaysShown) {
    k.Set(L"Visible", win != nullptr && win->IsVisible());
  }
  if (win != nullptr) {
    const lv::Rect& g = win->Geometry();
    k.Set(L"Window rect", CWRect{g.left, g.top, g.right, g.bottom});
  }
}

// Moves and sizes the window without changing its z-order. A programmatic
// move brings no size message, so when the client size changed one is posted
// to the owner's own queue (this thread's): the window lays itself out for
// the new size when the thread next serves its window messages, as after a
// user's resize, and nothing is drawn here.
void MoveWindowTo(lv::ChildWindow& win, const CWRect& r) {
  if (r.right <= r.left || r.bottom <= r.top) {
    return;  // an empty or inverted rectangle keeps the current place
  }
  const lv::Size before = win.ClientSize();
  win.MoveSize(lv::Rect{r.left, r.top, r.right, r.bottom});
  const lv::Size after = win.ClientSize();
  if (after == before) {
    return;
  }
  const lv::Rect& g = win.Geometry();
  lv::WindowMessage m;
  m.window = win.Id();
  m.kind = lv::WindowMessageKind::kSize;
  m.a = after.cx;
  m.b = after.cy;
  m.x = g.Width();
  m.y = g.Height();
  lv::ThisThreadWindowQueue()->Post(m);
}

// Showing and hiding never wait for the GUI thread.
void RecallPlacement(Keys& k, lv::ChildWindow* win, bool alwaysShown) {
  if (win == nullptr) {
    return;
  }
  CWRect r;
  if (alwaysShown) {
    if (k.Get(L"Window rect", &r)) {
      MoveWindowTo(*win, r);
    }
    if (!win->IsVisible()) {
      win->Show(true);
    }
    return;
  }
  bool visible = false;
  if (!k.Get(L"Visible", &visible)) {
    return;
  }
  if (visible) {
    if (k.Get(L"Window rect", &r)) {
      MoveWindowTo(*win, r);
    }
    if (!win->IsVisible()) {
      win->Show(true);
    }
  } else if (win->IsVisible()) {
    win->Show(false);
  }
}

// ---- Spectrum measurements -----------------------------------------------------

// What turning a measurement on or off does to the plot: its blocks are
// cleared and the bottom margin leaves room for the result texts, or returns
// to automatic.
void SetMeasurementLayout(CWPlot2D& plot, bool on) {
  plot.BackgroundBlocks().Clear();
  plot.bottomMargin = on ? plot.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin : -1;
}

void SaveACPR(Keys& k, CWSpectrumModel& model) {
  if (!model.acprOn) {
    k.Set(L"ACPR on", false);
    return;
  }
  const CQACPRMeasBands& b = model.ACPRBands();
  k.Set(L"ACPR on", true);
  k.Set(L"ACPR center offset", b.centerOffset);
  k.Set(L"ACPR center BW", b.centerBW);
  k.Set(L"ACPR adjacent offset", b.adjacentOffset);
  k.Set(L"ACPR adjacent BW", b.adjacentBW);
  k.Set(L"ACPR adjacent2 on", b.adjacent2On);
  if (b.adjacent2On) {
    k.Set(L"ACPR adjacent2 offset", b.adjacent2Offset);
    k.Set(L"ACPR adjacent2 BW", b.adjacent2BW);
  }
  k.Set(L"ACPR extra on", b.extraOn);
  if (b.extraOn) {
    k.Set(L"ACPR extra offset", b.extraOffset);
    k.Set(L"ACPR extra BW", b.extraBW);
  }
  k.Set(L"ACPR adj rel to center on", b.adjRelToCenter);
  k.Set(L"ACPR avg on", b.avgOn);
  if (b.avgOn) {
    k.Set(L"ACPR avg factor", static_cast<int32_t>(b.avgFactor));
  }
}

std::wstring BandKey(int32_t i, const wchar_t* what) { return L"PiB band" + std::to_wstring(i) + L" " + what; }

void SavePiB(Keys& k, CWSpectrumModel& model) {
  if (!model.pibOn) {
    k.Set(L"PiB on", false);
    return;
  }
  CQPiBMeasBandList& list = model.PiBBands();
  const int32_t n = list.GetSize();
  k.Set(L"PiB on", true);
  k.Set(L"PiB num bands", n);
  for (int32_t i = 0; i < n; ++i) {
    const CQPiBMeasBand* band = list.GetItem(i);
    k.Set(BandKey(i, L"on"), band->on);
    if (!band->on) {
      continue;
    }
    k.Set(BandKey(i, L"freq"), band->freq);
    k.Set(BandKey(i, L"BW"), band->bandwidth);
    k.Set(BandKey(i, L"avg on"), band->avgOn);
    if (band->avgOn) {
      k.Set(BandKey(i, L"avg factor"), static_cast<int32_t>(band->avgFactor));
    }
  }
}

// The ACPR band set's layout and averaging; the results gathered with the old
// layout are dropped.
void RecallACPRBands(Keys& k, CQACPRMeasBands& b) {
  RecallFinite(k, L"ACPR center offset", &b.centerOffset);
  RecallPositive(k, L"ACPR center BW", &b.centerBW);
  RecallFinite(k, L"ACPR adjacent offset", &b.adjacentOffset);
  RecallPositive(k, L"ACPR adjacent BW", &b.adjacentBW);
  bool on = false;
  if (k.Get(L"ACPR adjacent2 on", &on)) {
    b.adjacent2On = on;
    if (on) {
      RecallFinite(k, L"ACPR adjacent2 offset", &b.adjacent2Offset);
      RecallPositive(k, L"ACPR adjacent2 BW", &b.adjacent2BW);
    }
  }
  if (k.Get(L"ACPR extra on", &on)) {
    b.extraOn = on;
    if (on) {
      RecallFinite(k, L"ACPR extra offset", &b.extraOffset);
      RecallPositive(k, L"ACPR extra BW", &b.extraBW);
    }
  }
  RecallBool(k, L"ACPR adj rel to center on", &b.adjRelToCenter);
  if (k.Get(L"ACPR avg on", &on)) {
    b.avgOn = on;
    if (on) {
      RecallCount(k, L"ACPR avg factor", &b.avgFactor);
    }
  }
  b.ResetResults();
}

// The band list: resized to the file's count, each band read into one
// working band that starts from the band defaults and keeps what the bands
// before it left, then copied into the list. A count missing, below 1 or
// beyond kMaxPiBBands keeps the list. A value that is present but invalid
// keeps what the list's band of that number held before the recall (the
// working band's value for a band the list did not have).
void RecallPiBBands(Keys& k, CQPiBMeasBandList& list) {
  int32_t n = 0;
  if (!k.Get(L"PiB num bands", &n) || n < 1 || n > kMaxPiBBands) {
    return;
  }
  CQPiBMeasBandList before(0);
  before.Set(&list);
  list.SetSize(n);
  CQPiBMeasBand band;
  for (int32_t i = 0; i < n; ++i) {
    const CQPiBMeasBand* current = i < before.GetSize() ? before.GetItem(i) : nullptr;
    bool on = false;
    if (k.Get(BandKey(i, L"on"), &on)) {
      band.on = on;
      if (on) {
        double v = 0.0;
        if (k.Get(BandKey(i, L"freq"), &v)) {
          band.freq = Finite(v) ? v : (current != nullptr ? current->freq : band.freq);
        }
        if (k.Get(BandKey(i, L"BW"), &v)) {
          band.bandwidth = Positive(v) ? v : (current != nullptr ? current->bandwidth : band.bandwidth);
        }
        bool avgOn = false;
        if (k.Get(BandKey(i, L"avg on"), &avgOn)) {
          band.avgOn = avgOn;
          int32_t factor = 0;
          if (avgOn && k.Get(BandKey(i, L"avg factor"), &factor)) {
            band.avgFactor = factor >= 1 ? factor : (current != nullptr ? current->avgFactor : band.avgFactor);
          }
        }
      }
    }
    list.SetItem(i, &band);
  }
}

// At most one measurement is on. A file that turns power-in-band off while
// it is on here lets it go first, so that the file's ACPR state is not
// refused because of a display the file itself turns off. Then ACPR (read
// first, so a file with both on recalls ACPR), then power-in-band.
void RecallMeasurements(Keys& k, CWPlotSAWndw& w) {
  CWSpectrumModel& model = w.Model();
  bool acprOn = false;
  bool pibOn = false;
  const bool acprFound = k.Get(L"ACPR on", &acprOn);
  const bool pibFound = k.Get(L"PiB on", &pibOn);
  if (pibFound && !pibOn && model.pibOn) {
    SetMeasurementLayout(w, false);
    model.pibOn = false;
  }
  if (acprFound) {
    if (!model.pibOn) {
      SetMeasurementLayout(w, acprOn);
      model.acprOn = acprOn;
    }
    if (acprOn) {
      RecallACPRBands(k, model.ACPRBands());
    }
  }
  if (pibFound) {
    if (!model.acprOn) {
      SetMeasurementLayout(w, pibOn);
      model.pibOn = pibOn;
    }
    if (pibOn) {
      RecallPiBBands(k, model.PiBBands());
    }
  }
}

}  // namespace

// ---- Time domain -----------------------------------------------------------------

void SavePlotTDSettings(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s, const char* caller) {
  Run(prefix, caller, [&] {
    Keys k(prefix, s);
    SavePlacement(k, w.Window(), false);
    k.Set(L"Xscale min value", w.xMin);
    k.Set(L"Xscale max value", w.xMax);
    k.Set(L"Xscale auto", w.xAutoScale);
    k.Set(L"Yscale min value", w.yMin);
    k.Set(L"Yscale max value", w.yMax);
    k.Set(L"Yscale auto", w.yAutoScale);
    k.Set(L"Plot type", w.GetPlotType());
  });
}

void RecallPlotTDSettings(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s, const char* caller) {
  Run(prefix, caller, [&] {
    SectionScope section(s, prefix);
    Keys k(prefix, s);
    RecallPlacement(k, w.Window(), false);
    RecallAxisPair(k, L"Xscale min value", L"Xscale max value", w.xLog, &w.xMin, &w.xMax);
    RecallBool(k, L"Xscale auto", &w.xAutoScale);
    RecallAxisPair(k, L"Yscale min value", L"Yscale max value", w.yLog, &w.yMin, &w.yMax);
    RecallBool(k, L"Yscale auto", &w.yAutoScale);
    int32_t type = 0;
    if (k.Get(L"Plot type", &type) && type >= 0 && type < kNumTDPlotTypes) {
      w.SetPlotType(type);  // stored only; drawn with the next data
    }
  });
}

// ---- Spectrum --------------------------------------------------------------------

void SavePlotSpectrumSettings(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s, const char* caller) {
  Run(prefix, caller, [&] {
    Keys k(prefix, s);
    SavePlacement(k, w.Window(), w.alwaysShown);
    CQAvgSpectrum& avg = w.Model().AvgSpectrum();
    k.Set(L"Auto num freqs on", avg.GetAutoNumFreqs());
    k.Set(L"Num freqs", static_cast<int32_t>(avg.GetNumFreqs()));
    k.Set(L"Auto freq limits on", avg.GetAutoFreqLimits());
    k.Set(L"Start freq", avg.GetStartFreq());
    k.Set(L"Stop freq", avg.GetStopFreq());
    k.Set(L"Auto RBW on", avg.GetAutoRBW());
    k.Set(L"RBW", avg.GetRBW());
    k.Set(L"Auto num avgs on", avg.GetAutoNumAvgs());
    k.Set(L"Num avgs", static_cast<int32_t>(avg.GetNumAvgs()));
    k.Set(L"Yscale min value", w.yMin);
    k.Set(L"Yscale max value", w.yMax);
    k.Set(L"Yscale auto", w.yAutoScale);
    SaveACPR(k, w.Model());
    SavePiB(k, w.Model());
  });
}

void RecallPlotSpectrumSettings(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s,
                                const char* caller) {
  Run(prefix, caller, [&] {
    SectionScope section(s, prefix);
    Keys k(prefix, s);
    RecallPlacement(k, w.Window(), w.alwaysShown);
    CQAvgSpectrum& avg = w.Model().AvgSpectrum();
    bool on = false;
    int32_t n = 0;
    double v = 0.0;
    if (k.Get(L"Auto num freqs on", &on)) avg.SetAutoNumFreqs(on);
    if (k.Get(L"Num freqs", &n) && n >= 2 && n <= lv_spectral::kMaxSpectrumBins) avg.SetNumFreqs(n);
    if (k.Get(L"Auto freq limits on", &on)) avg.SetAutoFreqLimits(on);
    double start = 0.0;
    double stop = 0.0;
    if (k.Get(L"Start freq", &start) && k.Get(L"Stop freq", &stop) && Finite(start) && Finite(stop) &&
        stop > start) {
      avg.SetFreqLimits(start, stop);
    }
    if (k.Get(L"Auto RBW on", &on)) avg.SetAutoRBW(on);
    if (k.Get(L"RBW", &v) && Positive(v)) avg.SetRBW(v);
    if (k.Get(L"Auto num avgs on", &on)) avg.SetAutoNumAvgs(on);
    if (k.Get(L"Num avgs", &n) && n >= 1) avg.SetNumAvgs(n);
    RecallAxisPair(k, L"Yscale min value", L"Yscale max value", w.yLog, &w.yMin, &w.yMax);
    RecallBool(k, L"Yscale auto", &w.yAutoScale);
    RecallMeasurements(k, w);
  });
}

// ---- Persistence spectrum --------------------------------------------------------

void SavePlotPersSpecSettings(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s,
                              const char* caller) {
  Run(prefix, caller, [&] {
    Keys k(prefix, s);
    SavePlacement(k, w.Window(), false);
    const CWPersSpecSettings v = w.GetSettings();
    k.Set(L"Power scale min", v.minPower);
    k.Set(L"Power scale max", v.maxPower);
    k.Set(L"Auto freq limits", v.autoFreqRange);
    k.Set(L"Freq min", v.startFreq);
    k.Set(L"Freq max", v.stopFreq);
    k.Set(L"Auto RBW", v.autoRBW);
    k.Set(L"RBW", v.rbw);
    k.Set(L"Persistence type", v.persistenceType);
    k.Set(L"Overlay spectrum", v.overlayTrace);
    k.Set(L"Num spectra", v.spectraPerInput);
  });
}

void RecallPlotPersSpecSettings(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s,
                                const char* caller) {
  Run(prefix, caller, [&] {
    SectionScope section(s, prefix);
    Keys k(prefix, s);
    RecallPlacement(k, w.Window(), false);
    CWPersSpecSettings v = w.GetSettings();
    RecallLoosePair(k, L"Power scale min", L"Power scale max", &v.minPower, &v.maxPower);
    RecallBool(k, L"Auto freq limits", &v.autoFreqRange);
    RecallLoosePair(k, L"Freq min", L"Freq max", &v.startFreq, &v.stopFreq);
    RecallBool(k, L"Auto RBW", &v.autoRBW);
    RecallPositive(k, L"RBW", &v.rbw);
    RecallChecked(k, L"Persistence type", &v.persistenceType,
                  [](int32_t t) { return t >= 0 && t < kNumPersistenceTypes; });
    RecallBool(k, L"Overlay spectrum", &v.overlayTrace);
    RecallCount(k, L"Num spectra", &v.spectraPerInput);
    w.StoreSettings(v);
  });
}

// ---- Spectrogram -----------------------------------------------------------------

void SavePlotSpgmSettings(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s, const char* caller) {
  Run(prefix, caller, [&] {
    Keys k(prefix, s);
    SavePlacement(k, w.Window(), false);
    k.Set(L"Power scale min", w.minPower);
    k.Set(L"Power scale max", w.maxPower);
    k.Set(L"Auto time range", w.autoTimeRange);
    k.Set(L"Time range", w.timeRange);
    k.Set(L"Auto freq", w.autoFreqRange);
    k.Set(L"Start freq", w.startFreq);
    k.Set(L"Stop freq", w.stopFreq);
    k.Set(L"Auto RBW", w.autoRBW);
    k.Set(L"RBW", w.rbw);
    k.Set(L"DSP window", w.windowShape);
  });
}

void RecallPlotSpgmSettings(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s,
                            const char* caller) {
  Run(prefix, caller, [&] {
    SectionScope section(s, prefix);
    Keys k(prefix, s);
    RecallPlacement(k, w.Window(), false);
    RecallLoosePair(k, L"Power scale min", L"Power scale max", &w.minPower, &w.maxPower);
    RecallBool(k, L"Auto time range", &w.autoTimeRange);
    RecallPositive(k, L"Time range", &w.timeRange);
    RecallBool(k, L"Auto freq", &w.autoFreqRange);
    RecallLoosePair(k, L"Start freq", L"Stop freq", &w.startFreq, &w.stopFreq);
    RecallBool(k, L"Auto RBW", &w.autoRBW);
    RecallPositive(k, L"RBW", &w.rbw);
    RecallChecked(k, L"DSP window", &w.windowShape,
                  [](int32_t shape) { return shape >= kWindowRectangular && shape <= kWindowGaussian430; });
  });
}
