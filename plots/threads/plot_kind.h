// The four plot kinds and what other threads need to address a plot thread:
// its title, its settings prefix and the request ids of its kind.
//
// There are four plot kinds, one thread of each per transmitter. The time
// domain, persistence-spectrum and spectrogram threads share one set of
// request ids; the spectrum thread has its own (it also takes the averager's
// frequency limits and the always-shown flag).
#pragma once

#include <cstdint>
#include <string>

// The four plot kinds, in the order the application starts them for one
// transmitter.
enum class CWPlotKind : int32_t { kTimeDomain = 0, kPersistence = 1, kSpectrogram = 2, kSpectrum = 3 };
inline constexpr int kPlotKinds = 4;

// "Time Domain %d", "Persistence Spectrum %d", "Spectrogram %d", "Spectrum %d".
std::wstring PlotThreadTitle(CWPlotKind kind, int xmtrNumber);
// The settings prefix a plot thread is given: "PlotTD%d:", "PlotPersSpec%d:",
// "PlotSpgm%d:", "PlotSpectrum%d:".
std::wstring PlotSettingsPrefix(CWPlotKind kind, int xmtrNumber);

// Requests and messages of the plot threads as the main window uses them.
// The spectrum thread has its own ids; the other three kinds share theirs.
struct CWPlotIds {
  int32_t shown;       // get/set bool: the window is shown
  int32_t prefix;      // set string: the settings prefix
  int32_t arrange;     // set without wait, rectangle: move the window there
  int32_t plotArea;    // set without wait, rectangle: the main window's plot area
  int32_t toolbar;     // set bool: show the plot toolbar
};
inline constexpr CWPlotIds kPlotIdsCommon{2, 3, 4, 5, 6};
inline constexpr CWPlotIds kPlotIdsSpectrum{4, 6, 7, 8, 9};
inline constexpr const CWPlotIds& PlotIds(CWPlotKind kind) {
  return kind == CWPlotKind::kSpectrum ? kPlotIdsSpectrum : kPlotIdsCommon;
}

// Set request id of every kind: a new waveform (CQCArrayTD*, borrowed; a
// shown window copies it).
inline constexpr int32_t kPlotParamInputData = 1;
// Spectrum only: the averager's automatic frequency limits (bool), its
// limits -x/2 .. +x/2 (double x) and the always-shown flag (bool, get/set).
inline constexpr int32_t kPlotParamSpectrumAutoFreqLimits = 2;
inline constexpr int32_t kPlotParamSpectrumFreqSpan = 3;
inline constexpr int32_t kPlotParamSpectrumAlwaysShown = 5;

// Queue messages of the plot threads besides the common ids 1 to 6.
// Message 7 (word or parameter 1: show, other: hide).
inline constexpr int32_t kMsgPlotShowWindow = 7;
// Message 8: draw the plot again from what it holds.
inline constexpr int32_t kMsgPlotRedraw = 8;
// Message 9: clear the plot.
inline constexpr int32_t kMsgPlotClear = 9;
