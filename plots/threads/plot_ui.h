// The plot UI classes: each is its plot window plus the request interface
// the other threads reach it through (via its plot thread's queue).
//
//   CWUIPlotIQ        time domain            on CWPlotCTDWndw
//   CWUIPlotSpectrum  spectrum               on CWPlotSAWndw
//   CWUIPlotPersSpec  persistence spectrum   on CWPlotPersSpecWndw
//   CWUIPlotSpgm      spectrogram            on CWPlotSpgmWndw
//
// The hand-off of new data is copy, release, compute: SetParam acts on the
// request (a shown window copies the engine's waveform; a hidden one takes
// nothing) and says whether the window must compute; the plot thread then
// releases the requester and only afterwards calls ComputeAfterRelease, so the
// engine waits for the copy and never for a computation or a drawing.
//
// Set ids (blocking):            time domain, persistence, spectrogram | spectrum
//   1 new data (CQCArrayTD*)       1                                   | 1
//   visible (bool)                 2                                   | 4
//   settings prefix (string)       3                                   | 6
//   toolbar shown (bool)           6                                   | 9
//   auto frequency limits (bool)   -                                   | 2
//   frequency span x (double)      -                                   | 3 (limits -x/2 .. +x/2)
//   always shown (bool)            -                                   | 5
// Set ids without wait (rectangle): move 4 | 7, bounding rectangle 5 | 8.
// Get ids (bool): visible 2 | 4, toolbar shown 6 | 9, always shown - | 5.
// Any other id fails with "Unknown parameter type.".
//
// Everything here runs on the owning plot thread. Errors are CQError* with
// the operation's name ("CWUIPlotSpgm::SetParam") appended.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/drawing.h"
#include "plots/windows/pers_spec_wndw.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/spgm_window.h"
#include "plots/windows/time_domain_window.h"

class CQAppSettings;
class CWGetSetData;
struct CWRect;

namespace lv {
class Bitmap;
class ChildWindow;
class FrameWindow;
}  // namespace lv

// What every plot UI class offers its plot thread.
class CWPlotUI {
 public:
  explicit CWPlotUI(const char* className) : className_(className) {}
  virtual ~CWPlotUI() = default;
  CWPlotUI(const CWPlotUI&) = delete;
  CWPlotUI& operator=(const CWPlotUI&) = delete;

  // Creates the window hidden as a child of the frame's plot area. False
  // when it could not be made (a creation error of the window is shown by
  // the window or thrown as CQError*).
  virtual bool CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                                const lv::Bitmap* icon) = 0;
  // The layer window (null before creation).
  virtual lv::ChildWindow* PlotWindow() = 0;
  bool IsWindowVisible();

  // The key prefix of the window's settings. A null text fails with
  // "Programming error: Null pointer to settings prefix string."; an empty
  // one leaves the window without a prefix.
  void SetSettingsPrefix(const wchar_t* text);
  const std::wstring& SettingsPrefix() const { return prefix_; }
  bool HasSettingsPrefix() const { return !prefix_.empty(); }

  // A blocking set (see the table above), up to the release of the
  // requester: returns true when the window must compute and draw once the
  // requester has been released. Failures are thrown with the name appended.
  bool SetParam(CWGetSetData* request);
  // Computes and draws from the window's own copy (after the release). An
  // error is shown on this thread with "<Class>::SetParam" appended.
  void ComputeAfterRelease();
  // A set without wait: move or bounding rectangle. Throws on failure.
  void SetParamNoWait(CWGetSetData* request);
  // A blocking get: a bool of value type 1. Throws on failure.
  void GetParam(CWGetSetData* request);
  // The window's settings keys under the prefix (on the plot thread).
  virtual void SaveSettings(CQAppSettings& settings) = 0;
  virtual void RecallSettings(CQAppSettings& settings) = 0;

  // Queue message 7: show (true) or hide without waiting; nothing when the
  // window is already so. The spectrum never hides while always shown.
  virtual void ShowOrHide(bool show);
  // Queue message 8: draw again from the data held (time domain and
  // spectrum; nothing for the others).
  virtual void RedrawPlot() {}
  // Queue message 9: clear what the window shows.
  virtual void ClearView() = 0;

  // Observation for tests and diagnostics: called on the plot thread right
  // before a computation starts; counters of the copies taken and of the
  // computations run (readable from any thread).
  std::function<void()> computeStarted;
  std::atomic<int32_t> dataCopies{0};
  std::atomic<int32_t> computations{0};

  const char* ClassName() const { return className_; }

 protected:
  // The kind's ids.
  struct Ids {
    int32_t visible, prefix, toolbar, move, bounds;
  };
  virtual Ids KindIds() const = 0;
  // The kind's own parts of the operations above.
  virtual void TakeInputCopy(const CQCArrayTD* input) = 0;
  virtual void ComputeFromCopy() = 0;
  virtual void ShowToolbarOf(bool shown) = 0;
  virtual bool ToolbarShownOf() = 0;
  virtual void MoveWindowTo(const lv::Rect& r) = 0;
  virtual void SetBoundsOf(const lv::Rect& r) = 0;
  // Ids only the kind knows (the spectrum's); false when unknown. A set
  // returns the recompute flag in *recompute.
  virtual bool SetOwnParam(CWGetSetData& /*request*/, bool* /*recompute*/) { return false; }
  virtual bool GetOwnParam(CWGetSetData& /*request*/) { return false; }
  // The visible request: show or hide as the kind does.
  virtual void ShowForRequest(bool show) { ShowOrHide(show); }

  std::string NameOf(const char* method) const;

 private:
  const char* className_;
  std::wstring prefix_;
};

class CWUIPlotIQ : public CWPlotCTDWndw, public CWPlotUI {
 public:
  CWUIPlotIQ();
  ~CWUIPlotIQ() override;
  bool CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                        const lv::Bitmap* icon) override;
  lv::ChildWindow* PlotWindow() override { return Window(); }
  void SaveSettings(CQAppSettings& settings) override;
  void RecallSettings(CQAppSettings& settings) override;
  void RedrawPlot() override { DrawPlot(); }
  void ClearView() override { ClearPlot(); }

 protected:
  Ids KindIds() const override { return Ids{2, 3, 6, 4, 5}; }
  void TakeInputCopy(const CQCArrayTD* input) override { SetData(input); }
  void ComputeFromCopy() override { DrawPlot(); }
  void ShowToolbarOf(bool shown) override { ShowToolbar(shown); }
  bool ToolbarShownOf() override { return ToolbarShown(); }
  void MoveWindowTo(const lv::Rect& r) override;
  void SetBoundsOf(const lv::Rect& r) override { SetBoundingRect(r); }
};

class CWUIPlotSpectrum : public CWPlotSAWndw, public CWPlotUI {
 public:
  CWUIPlotSpectrum();
  ~CWUIPlotSpectrum() override;
  bool CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                        const lv::Bitmap* icon) override;
  lv::ChildWindow* PlotWindow() override { return Window(); }
  void SaveSettings(CQAppSettings& settings) override;
  void RecallSettings(CQAppSettings& settings) override;
  void ShowOrHide(bool show) override;
  void RedrawPlot() override { DrawPlot(); }
  // Forgets the datasets, then the ACPR and power-in-band averaging.
  void ClearView() override;

 protected:
  Ids KindIds() const override { return Ids{4, 6, 9, 7, 8}; }
  void TakeInputCopy(const CQCArrayTD* input) override { SetData(input); }
  void ComputeFromCopy() override;
  void ShowToolbarOf(bool shown) override { ShowToolbar(shown); }
  bool ToolbarShownOf() override { return ToolbarShown(); }
  void MoveWindowTo(const lv::Rect& r) override;
  void SetBoundsOf(const lv::Rect& r) override { SetBoundingRect(r); }
  bool SetOwnParam(CWGetSetData& request, bool* recompute) override;
  bool GetOwnParam(CWGetSetData& request) override;
};

class CWUIPlotPersSpec : public CWPlotPersSpecWndw, public CWPlotUI {
 public:
  CWUIPlotPersSpec();
  ~CWUIPlotPersSpec() override;
  bool CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                        const lv::Bitmap* icon) override;
  lv::ChildWindow* PlotWindow() override { return Window(); }
  void SaveSettings(CQAppSettings& settings) override;
  void RecallSettings(CQAppSettings& settings) override;
  // Resets the persistence image and repaints it blank.
  void ClearView() override;

 protected:
  Ids KindIds() const override { return Ids{2, 3, 6, 4, 5}; }
  void TakeInputCopy(const CQCArrayTD* input) override { SetInputData(input); }
  void ComputeFromCopy() override;
  void ShowToolbarOf(bool shown) override { ShowToolbar(shown); }
  bool ToolbarShownOf() override { return ToolbarShown(); }
  void MoveWindowTo(const lv::Rect& r) override { MoveSize(r); }
  void SetBoundsOf(const lv::Rect& r) override { SetBoundingRect(r); }
};

class CWUIPlotSpgm : public CWPlotSpgmWndw, public CWPlotUI {
 public:
  CWUIPlotSpgm();
  ~CWUIPlotSpgm() override;
  bool CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                        const lv::Bitmap* icon) override;
  lv::ChildWindow* PlotWindow() override { return Window(); }
  void SaveSettings(CQAppSettings& settings) override;
  void RecallSettings(CQAppSettings& settings) override;
  // Blanks the spectrogram's bitmap and repaints.
  void ClearView() override { ClearImage(); }

 protected:
  Ids KindIds() const override { return Ids{2, 3, 6, 4, 5}; }
  void TakeInputCopy(const CQCArrayTD* input) override { SetInputData(input); }
  void ComputeFromCopy() override;
  void ShowToolbarOf(bool shown) override { ShowToolbar(shown); }
  bool ToolbarShownOf() override { return toolbarShown; }
  void MoveWindowTo(const lv::Rect& r) override;
  void SetBoundsOf(const lv::Rect& r) override { SetBoundingRect(r); }
};
