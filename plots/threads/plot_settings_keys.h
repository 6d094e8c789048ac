// The plot windows' settings keys: one Save / Recall pair per kind of plot
// window. Each key is the window's prefix ("PlotTD1:", "PlotSpectrum2:",
// "PlotPersSpec1:", "PlotSpgm3:" ...) followed by a fixed name ("Visible",
// "Window rect", "RBW" ...).
//
// Save writes Visible (the spectrum only while it is not always shown), then
// Window rect (in the main window's client coordinates), then the kind's own
// keys in a fixed order. Recall reads the prefix's lines once into the
// settings section, applies each key that is present and whose value the
// window accepts (an absent or out-of-range value keeps the current one; the
// two limits of a pair only together), shows, hides or moves the window
// through its own thread, and switches the section mode off again on every
// path. Recall changes values only: nothing is recomputed or redrawn until
// the next data.
//
// They run on the plot thread that owns the window. Errors are CQError*
// thrown: an empty prefix gives "Programming error: Settings prefix string
// not set."; settings-store errors pass through. When caller is not null it
// is appended to the error's call stack (for example
// "CWUIPlotSpectrum::RecallSettings").
#pragma once

#include <string>

class CQAppSettings;
class CWPlotCTDWndw;
class CWPlotSAWndw;
class CWPlotPersSpecWndw;
class CWPlotSpgmWndw;

void SavePlotTDSettings(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s,
                        const char* caller = nullptr);
void RecallPlotTDSettings(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s,
                          const char* caller = nullptr);

// A spectrum window with its alwaysShown flag set saves no Visible key and
// recall always shows it.
void SavePlotSpectrumSettings(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s,
                              const char* caller = nullptr);
void RecallPlotSpectrumSettings(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s,
                                const char* caller = nullptr);

void SavePlotPersSpecSettings(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s,
                              const char* caller = nullptr);
void RecallPlotPersSpecSettings(CWPlotPersSpecWndw& w, const std::wstring& prefix,
                                CQAppSettings& s, const char* caller = nullptr);

void SavePlotSpgmSettings(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s,
                          const char* caller = nullptr);
void RecallPlotSpgmSettings(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s,
                            const char* caller = nullptr);
