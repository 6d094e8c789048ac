// CWPlotSpgmWndw: the spectrogram window of one transmitter. From the last
// waveform it computes a spectrogram through its engine (CWPlotSpgm) and shows
// it as a coloured image, frequency to the right and time upward, with a
// colour scale of the power in dBm at the left, the frequency and time axes,
// the resolution bandwidth and the span. It offers a value read-out, zooms of
// the time axis, the frequency axis or both by dragging a rectangle,
// automatic limits, a settings dialog, image copy, save and print, grid and
// colour-scheme switches and a toolbar.
//
// The window is a child frame window of the main window owned by the
// spectrogram plot thread; everything here runs on that thread. Its client
// area holds the toolbar (a strip at the left edge, drawn by the window) and,
// right of it, the off-screen surface with the picture. Mouse positions are
// taken relative to that surface (x less the toolbar width).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/device_context.h"
#include "platform/gui/drawing.h"
#include "platform/gui/window.h"
#include "platform/window_messages.h"

class CQCArrayTD;
class CWOffScreenDC;
class CWPlotSpgm;
class CWPlot2DValueWndw;

// The values the settings dialog shows and edits.
struct CWPlotSpgmSettings {
  bool autoTimeRange = true;
  double timeRange = 0.001;
  bool autoFreqRange = true;
  double startFreq = -1e6;
  double stopFreq = 1e6;
  bool autoRBW = true;
  double rbw = 100000.0;
  int32_t windowShape = 7;
  float minPower = -100.0f;
  float maxPower = 0.0f;
  int32_t colorMapType = 0;
};

class CWPlotSpgmWndw {
 public:
  // Pop-up menu commands.
  static constexpr uint32_t kCmdCopyImage = 36101;
  static constexpr uint32_t kCmdSaveImage = 36102;
  static constexpr uint32_t kCmdPrintImage = 36103;
  static constexpr uint32_t kCmdSettings = 36104;
  static constexpr uint32_t kCmdGridOn = 36105;
  static constexpr uint32_t kCmdScreenScheme = 36106;
  static constexpr uint32_t kCmdPaperScheme = 36107;
  static constexpr uint32_t kCmdShowHideToolbar = 36108;
  // Toolbar commands.
  static constexpr uint32_t kCmdValueTool = 40052;
  static constexpr uint32_t kCmdTimeZoomTool = 40043;
  static constexpr uint32_t kCmdFreqZoomTool = 40044;
  static constexpr uint32_t kCmdBothZoomTool = 40045;
  static constexpr uint32_t kCmdAutoLimits = 40046;

  // Mouse modes.
  static constexpr int32_t kModeValue = 1;
  static constexpr int32_t kModeTimeZoom = 2;
  static constexpr int32_t kModeFreqZoom = 3;
  static constexpr int32_t kModeBothZoom = 4;

  // The toolbar strip: 24 x 24 buttons with a 3-pixel margin.
  static constexpr int32_t kToolbarWidth = 30;
  static constexpr int32_t kButtonSize = 24;

  CWPlotSpgmWndw();
  virtual ~CWPlotSpgmWndw();
  CWPlotSpgmWndw(const CWPlotSpgmWndw&) = delete;
  CWPlotSpgmWndw& operator=(const CWPlotSpgmWndw&) = delete;

  // Creates the window hidden inside the parent's plot area and runs the
  // creation steps (fonts, pop-up, toolbar, boxes, layout, colour scale,
  // value window, off-screen surface). A failure is a CQError with
  // "CWPlotSpgmWndw::OnCreate".
  void Create(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& geometry);
  lv::ChildWindow* Window() { return window_.get(); }

  // Copies the waveform (null: "Null pointer to input data.") and moves its
  // time origin into its start time, so that time on this window counts
  // from the first sample.
  void SetInputData(const CQCArrayTD* data);
  // Computes the spectrogram of the held waveform into the engine.
  void Compute();
  // The half analysis-window length and the number of input points the rows
  // need; both 0 when the window would be shorter than 2 samples.
  static void CalcInputDataPoints(double sampleRate, double rbw, double timeRange, int32_t shape, int32_t rows,
                                  int32_t* halfLength, int32_t* numPoints);

  // Runs the settings dialog and applies what it returns.
  void DoSettingsDialog();
  // The values the dialog is filled with.
  CWPlotSpgmSettings GetSettings() const;
  // Applies values accepted in the settings dialog: stores what changed and, when
  // anything did, computes and draws again (a new colour map also remakes
  // the colour scale). Errors are shown with "CWPlotSpgmWndw::DoSettingsDialog".
  void ApplySettings(const CWPlotSpgmSettings& s);

  // Shows or hides the toolbar strip (nothing when unchanged).
  void ShowToolbar(bool shown);
  // Keeps the window inside the rectangle (main window client coordinates).
  void SetBoundingRect(const lv::Rect& bounds);

  // The window's messages (the plot thread's handler calls this).
  void HandleMessage(const lv::WindowMessage& m);
  void OnSize(int32_t cx, int32_t cy);
  void OnCommand(uint32_t id);
  void OnLButtonDown(int32_t x, int32_t y);
  void OnMouseMove(int32_t x, int32_t y);
  void OnLButtonUp(int32_t x, int32_t y);
  void OnRButtonDown(int32_t x, int32_t y);
  // Draws the whole client area (toolbar, picture, value window, drag
  // rectangle) and hands the frame to the window.
  void OnPaint();
  // The plot thread's clear: blanks the image and repaints.
  void ClearImage();

  // Draws the picture (colour scale, image, axes, notations) into dc; also
  // used for the clipboard, the saved image and the printout. Nothing until
  // the engine has drawn its image.
  void DrawPicture(lv::DeviceContext& dc);
  // The size of the saved or printed picture.
  lv::Size PictureSize() const;
  // The picture on a bitmap of PictureSize filled with the background colour.
  lv::Bitmap RenderPicture();
  // The last frame handed to the window (tests and gallery).
  const lv::Bitmap& LastFrame() const { return lastFrame_; }

  // Time (s from the first sample) and frequency (Hz relative to the centre)
  // of a pixel of the surface inside the image; false outside it or before a
  // computation.
  bool PixelToValues(int32_t x, int32_t y, double* time, double* freq);

  CWPlotSpgm& Engine() { return *engine_; }
  CWPlot2DValueWndw& ValueWindow() { return *valueWindow_; }
  const CQCArrayTD* Input() const { return input_; }
  int32_t ToolbarWidth() const { return toolbarWidth_; }
  const lv::Rect& DragRect() const { return dragRect_; }
  bool Dragging() const { return dragBoth_ || dragFreq_ || dragTime_; }
  // The pop-up menu as built now (ticks follow the switches).
  std::vector<lv::MenuItem> PopupMenuItems() const;

  // Switches and values (read and written by the plot UI class and tests).
  bool gridOn = true;
  bool screenScheme = true;
  bool autoTimeRange = true;
  bool autoFreqRange = true;
  bool autoRBW = true;
  bool toolbarShown = true;
  float minPower = -100.0f;
  float maxPower = 0.0f;
  double timeRange = 0.001;
  double timeStart = 0.0;
  double startFreq = -1e6;
  double stopFreq = 1e6;
  double rbw = 100000.0;
  double effectiveRBW = 0.0;
  int32_t windowShape = 7;
  int32_t colorMapType = 0;
  int32_t mouseMode = kModeValue;
  int32_t textColor = 10;
  int32_t gridColor = 2;
  int32_t backgroundColor = 0;

  // Rectangles of the surface.
  lv::Rect imageRect{};
  lv::Rect colorScaleRect{48, 10, 63, 130};
  lv::Rect colorScaleBox{3, 10, 63, 130};
  lv::Rect rbwBox{3, 150, 63, 180};
  lv::Rect spanBox{3, 190, 63, 220};
  lv::Rect freqAxisBox{};
  lv::Rect timeAxisBox{};

 protected:
  // The settings dialog (CWPlotSpgmDlg): fills it with current, returns
  // true when accepted, with the accepted values in result.
  virtual bool RunSettingsDialog(const CWPlotSpgmSettings& current, CWPlotSpgmSettings& result);

 private:
  void OnCreate();
  void Layout(int32_t height, int32_t width);
  void MakeColorScale();
  void SetScheme(bool screen);
  void SetMouseMode(int32_t mode);
  void Invalidate();
  void ComputeAndDraw();
  void DrawColorScale(lv::DeviceContext& dc);
  void DrawFreqAxis(lv::DeviceContext& dc);
  void DrawTimeAxis(lv::DeviceContext& dc);
  void DrawNotations(lv::DeviceContext& dc);
  void DrawToolbar(lv::DeviceContext& dc);
  void UpdateCursor(int32_t x, int32_t y);
  void CopyImage();
  void SaveImage();
  void PrintImage();
  bool InImage(int32_t x, int32_t y) const;
  void FillSubset(int32_t first, int32_t n);

  std::unique_ptr<lv::ChildWindow> window_;
  CWPlotSpgm* engine_ = nullptr;
  CWPlot2DValueWndw* valueWindow_ = nullptr;
  CWOffScreenDC* surface_ = nullptr;
  CQCArrayTD* input_ = nullptr;
  CQCArrayTD* subset_ = nullptr;  // the part of the input the rows analyse
  lv::Bitmap colorScale_;
  lv::Bitmap lastFrame_;
  bool dragBoth_ = false;
  bool dragFreq_ = false;
  bool dragTime_ = false;
  int32_t toolbarWidth_ = 0;
  lv::Point lastMouse_{};
  lv::Point dragStart_{};
  lv::Rect dragRect_{};
};
