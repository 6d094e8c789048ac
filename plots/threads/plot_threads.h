// The plot threads: one worker per plot window.
//
//   CWUIPlotIQThread         time domain            "Time Domain %d"          (150,150)-(550,550)
//   CWUIPlotPersSpecThread   persistence spectrum   "Persistence Spectrum %d" (150,150)-(550,550)
//   CWUIPlotSpgmThread       spectrogram            "Spectrogram %d"          (150,150)-(550,550)
//   CWUIPlotSpectrumThread   spectrum               "Spectrum %d"             (200,200)-(600,600)
//
// Each thread creates its plot window (the kind's plot UI class, plot_ui.h)
// hidden, as a child of the main window, in InitInstance; announces itself
// once (WM_USER+2, the worker base); then serves its window's messages and
// its queue, and blocks when there is nothing to do. Queue messages:
//   1  destroy the window, end the thread
//   2  get, 3 set, 4 set without wait: handed to the UI class; a set that
//      brings new data releases the requester before the window computes
//   5  save, 6 recall the window's settings; WM_USER+4 / WM_USER+6 go to the
//      main window also when that fails
//   7  word (or parameter) 1: show the window, other: hide it (the spectrum
//      never hides while always shown)
//   8  redraw (time domain, spectrum)   9  clear the plot
// Any other id: "Unhandled message in thread queue.".
//
// The thread object never touches its window from another thread: the UI
// object is made, used and destroyed on the plot thread. The creator keeps
// the main window alive until the thread has ended.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/bitmap.h"
#include "platform/gui/drawing.h"
#include "plots/threads/plot_kind.h"
#include "plots/threads/plot_ui.h"
#include "workers/ui_thread.h"

namespace lv {
class FrameWindow;
}

class CWUIPlotThread : public CWUIThread {
 public:
  // The title is kept to at most 127 characters.
  CWUIPlotThread(const char* className, CWPlotKind kind, const std::wstring& title, const lv::FrameWindow& parent);
  ~CWUIPlotThread() override;

  CWPlotKind Kind() const { return kind_; }
  const std::wstring& Title() const { return title_; }
  // The application icon, given before the thread starts (the tool windows
  // take it; the plot area's sub-windows show none).
  void SetIcon(const lv::Bitmap& icon) { icon_ = icon; hasIcon_ = true; }
  // The window's initial rectangle (main window client coordinates).
  static lv::Rect InitialRect(CWPlotKind kind);

 protected:
  bool InitInstance() override;
  void ExitInstance() override;
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& request) override;
  void OnMsgSetParam(CWGetSetData& request) override;
  void OnMsgSetParamNoWait(CWGetSetData& request) override;
  void OnMsgSaveSettings(CQAppSettings& settings) override;
  void OnMsgRecallSettings(CQAppSettings& settings) override;

  // Makes the kind's UI object (no window yet).
  virtual std::unique_ptr<CWPlotUI> MakeUI() = 0;
  // The UI object (plot thread only; null before InitInstance and after
  // message 1).
  CWPlotUI* UI() { return ui_.get(); }

 private:
  void DestroyUI();

  CWPlotKind kind_;
  std::wstring title_;
  const lv::FrameWindow& parent_;
  lv::Bitmap icon_;
  bool hasIcon_ = false;
  std::unique_ptr<CWPlotUI> ui_;
};

class CWUIPlotIQThread : public CWUIPlotThread {
 public:
  CWUIPlotIQThread(const std::wstring& title, const lv::FrameWindow& parent)
      : CWUIPlotThread("CWUIPlotIQThread", CWPlotKind::kTimeDomain, title, parent) {}
  ~CWUIPlotIQThread() override { StopAndJoin(); }

 protected:
  bool InitInstance() override;
  std::unique_ptr<CWPlotUI> MakeUI() override { return std::make_unique<CWUIPlotIQ>(); }
};

class CWUIPlotSpectrumThread : public CWUIPlotThread {
 public:
  CWUIPlotSpectrumThread(const std::wstring& title, const lv::FrameWindow& parent)
      : CWUIPlotThread("CWUIPlotSpectrumThread", CWPlotKind::kSpectrum, title, parent) {}
  ~CWUIPlotSpectrumThread() override { StopAndJoin(); }

 protected:
  std::unique_ptr<CWPlotUI> MakeUI() override { return std::make_unique<CWUIPlotSpectrum>(); }
};

class CWUIPlotPersSpecThread : public CWUIPlotThread {
 public:
  CWUIPlotPersSpecThread(const std::wstring& title, const lv::FrameWindow& parent)
      : CWUIPlotThread("CWUIPlotPersSpecThread", CWPlotKind::kPersistence, title, parent) {}
  ~CWUIPlotPersSpecThread() override { StopAndJoin(); }

 protected:
  std::unique_ptr<CWPlotUI> MakeUI() override { return std::make_unique<CWUIPlotPersSpec>(); }
};

class CWUIPlotSpgmThread : public CWUIPlotThread {
 public:
  CWUIPlotSpgmThread(const std::wstring& title, const lv::FrameWindow& parent)
      : CWUIPlotThread("CWUIPlotSpgmThread", CWPlotKind::kSpectrogram, title, parent) {}
  ~CWUIPlotSpgmThread() override { StopAndJoin(); }

 protected:
  std::unique_ptr<CWPlotUI> MakeUI() override { return std::make_unique<CWUIPlotSpgm>(); }
};

// The program's plot thread of a kind for transmitter xmtrNumber (from 1),
// titled title, its window a child of parent; not started. xmtrNumber is
// not used beyond the caller's title (the settings prefix comes later as a
// request). Never null.
std::unique_ptr<CWUIThread> MakePlotThread(CWPlotKind kind, int xmtrNumber, const std::wstring& title,
                                           const lv::FrameWindow& parent);
