// Where the plot UI classes' SaveSettings and RecallSettings find the keys of
// their window kind: one Save / Recall pair per kind, taking the window, the
// settings prefix and the settings store. An empty prefix fails with
// "Programming error: Settings prefix string not set.".
#pragma once

#include <string>

class CQAppSettings;
class CWPlotCTDWndw;
class CWPlotSAWndw;
class CWPlotPersSpecWndw;
class CWPlotSpgmWndw;

void SaveWindowKeys(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s);
void RecallWindowKeys(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s);
void SaveWindowKeys(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s);
void RecallWindowKeys(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s);
void SaveWindowKeys(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s);
void RecallWindowKeys(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s);
void SaveWindowKeys(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s);
void RecallWindowKeys(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s);
