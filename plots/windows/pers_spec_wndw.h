// CWPlotPersSpecWndw: the persistence-spectrum window of one transmitter.
//
// From the waveform last handed over it computes a number of short spectra
// (CQMultiSpectrum) and accumulates them into a persistence image
// (CWPlotPersSpec): each pixel is a frequency and a power level whose colour
// shows how often and how recently the spectra passed through it. The window
// draws the image with a frequency axis, a power axis, the resolution
// bandwidth and the span, and offers a location read-out, a power-axis zoom,
// a settings dialog, image copy, save and print, grid and colour-scheme
// switches and a toolbar.
//
// The window is a child frame of the main window's plot area, owned by the
// persistence plot thread: every member runs on that thread. Its messages
// arrive through the layer's window-message queue (HandleMessage). The
// picture is drawn into an off-screen surface (the area right of the
// toolbar); painting composes the toolbar strip, that surface, the value
// window and the zoom's drag strip into the frame handed to the widget.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/drawing.h"
#include "platform/gui/window.h"

class CQCArrayTD;
class CQMultiSpectrum;
class CWOffScreenDC;
class CWPlot2DValueWndw;
class CWPlotPersSpec;

namespace lv {
class DeviceContext;
}

// What the settings dialog edits, as the window fills it and takes it back.
struct CWPersSpecSettings {
  bool autoFreqRange = true;
  bool autoRBW = true;
  bool overlayTrace = true;
  int32_t spectraPerInput = 16;
  float minPower = -100.0f;  // dBm
  float maxPower = 0.0f;     // dBm
  double startFreq = -1e6;   // Hz, relative to the centre frequency
  double stopFreq = 1e6;
  double rbw = 0.0;          // Hz
  int32_t persistenceType = 1;
};

class CWPlotPersSpecWndw {
 public:
  // Commands of the pop-up menu and the toolbar.
  enum : uint32_t {
    kCmdCopyImage = 36101,
    kCmdSaveImage = 36102,
    kCmdPrintImage = 36103,
    kCmdSettings = 36104,
    kCmdGridOn = 36105,
    kCmdResetPersistence = 36106,
    kCmdScreenScheme = 36107,
    kCmdPaperScheme = 36108,
    kCmdShowHideToolbar = 36109,
    kCmdLocationTool = 40049,
    kCmdZoomTool = 40050,
    kCmdAxesLimits = 40051,
  };
  // The toolbar strip at the left edge of the client area when shown.
  static constexpr int32_t kToolbarWidth = 30;
  static constexpr int32_t kToolbarButtonSize = 24;
  // The image's distance from the surface's edges: left, top, right, bottom.
  static constexpr int32_t kImageLeft = 128;
  static constexpr int32_t kImageTop = 10;
  static constexpr int32_t kImageRightGap = 30;
  static constexpr int32_t kImageBottomGap = 40;
  static constexpr int32_t kMinImageSize = 100;

  // The fields at their defaults; no layer window yet.
  CWPlotPersSpecWndw();
  virtual ~CWPlotPersSpecWndw();
  CWPlotPersSpecWndw(const CWPlotPersSpecWndw&) = delete;
  CWPlotPersSpecWndw& operator=(const CWPlotPersSpecWndw&) = delete;

  // Creates the hidden child window in the parent's plot area (window
  // creation: fonts, pop-up menu, toolbar, value window, image layout and the
  // off-screen surface) and routes its messages to HandleMessage on the
  // calling thread. Failures raise CQError with "CWPlotPersSpecWndw::Create".
  void Create(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& geometry);
  lv::ChildWindow* Window() { return window_.get(); }

  // New data: copies the waveform into the window's own array.
  void SetInputData(const CQCArrayTD* input);
  // Adds the spectra of the held waveform to the persistence image.
  void Compute();
  // Runs the settings dialog (CWPlotPersSpecDlg) filled with the current
  // settings and applies what it returns when accepted.
  void DoSettingsDialog();
  // What the settings dialog is filled with.
  CWPersSpecSettings GetSettings() const;
  // Applies the values of an accepted settings dialog: stores them, resets
  // the image when the range, the resolution or the power scale changed, adds
  // the held waveform's spectra again and redraws. Errors are shown.
  void ApplySettings(const CWPersSpecSettings& s);
  // Stores every value as given (recalled settings, checked by the caller):
  // no image reset, no computing, no drawing; they take effect at the next
  // Compute.
  void StoreSettings(const CWPersSpecSettings& s);
  // Shows or hides the toolbar strip (nothing when unchanged).
  void ShowToolbar(bool shown);
  // Keeps the window inside the rectangle (plot-area coordinates).
  void SetBoundingRect(const lv::Rect& bounds);
  // Moves and sizes the window and runs the size handling for its new client
  // size (a programmatic move brings no size message).
  void MoveSize(const lv::Rect& geometry);

  // One window message of the layer window.
  void HandleMessage(const lv::WindowMessage& m);
  void OnCommand(uint32_t id);
  void OnSize(int32_t cx, int32_t cy);
  void OnPaint();
  void OnClose();
  // Mouse positions in client coordinates (the toolbar strip included).
  void OnLButtonDown(int32_t x, int32_t y);
  void OnLButtonUp(int32_t x, int32_t y);
  void OnRButtonDown(int32_t x, int32_t y);
  void OnMouseMove(int32_t x, int32_t y);

  // The picture (image, axes, notations) into dc, in the coordinates of the
  // area right of the toolbar; nothing before the first computed image.
  void DrawPicture(lv::DeviceContext& dc);
  // The composed client area as the last paint handed it over.
  const lv::Bitmap& LastFrame() const { return lastFrame_; }
  // The picture as Save Image writes it.
  lv::Bitmap RenderImageForSave();
  // Copy, save and print (the pop-up commands).
  void CopyImage();
  void SaveImage();
  void PrintImage();

  // State, for the plot thread and tests.
  bool HasImage() const { return hasImage_; }
  bool GridOn() const { return gridOn_; }
  bool ScreenScheme() const { return screenScheme_; }
  bool ToolbarShown() const { return toolbarShown_; }
  int32_t ToolbarWidth() const { return toolbarWidth_; }
  int32_t MouseMode() const { return mouseMode_; }
  bool DragActive() const { return dragActive_; }
  const lv::Rect& ImageRect() const { return imageRect_; }
  const lv::Rect& FreqAxisBox() const { return freqAxisBox_; }
  const lv::Rect& PowerAxisBox() const { return powerAxisBox_; }
  float MinPower() const { return minPower_; }
  float MaxPower() const { return maxPower_; }
  double StartFreq() const { return startFreq_; }
  double StopFreq() const { return stopFreq_; }
  double EffectiveRBW() const { return effectiveRBW_; }
  double CenterFreq() const { return centerFreq_; }
  int32_t TextColor() const { return textColor_; }
  int32_t BackgroundColor() const { return backgroundColor_; }
  CWPlotPersSpec& PersPlot() { return *persPlot_; }
  CWPlot2DValueWndw& ValueWindow() { return *valueWindow_; }
  CQMultiSpectrum& MultiSpectrum() { return *multiSpectrum_; }
  const std::vector<lv::MenuItem>& PopupMenu() const { return popup_; }
  // The toolbar buttons (ids 0 for separators) and where they are drawn.
  struct ToolButton {
    uint32_t id;
    lv::Rect rect;
  };
  std::vector<ToolButton> ToolbarButtons() const;

  // Pixel of the area right of the toolbar to frequency (relative to the
  // centre) and power; false outside the image.
  bool PixelToValues(int32_t x, int32_t y, double& freq, double& power) const;

 private:
  void Layout(int32_t h, int32_t w);
  void SetColors(bool screen);
  void CheckItem(uint32_t id, bool checked);
  void InvalidateWindow();
  void DrawToolbar(lv::DeviceContext& dc);
  void DrawFrequencyAxis(lv::DeviceContext& dc);
  void DrawPowerAxis(lv::DeviceContext& dc);
  void DrawNotations(lv::DeviceContext& dc);
  void UpdateCursor(int32_t x, int32_t y);
  lv::Size PictureSize() const;
  void RunGuarded(const char* name, void (CWPlotPersSpecWndw::*body)());

  bool gridOn_ = true;
  bool screenScheme_ = true;
  bool hasImage_ = false;
  bool overlayTrace_ = true;
  bool autoFreqRange_ = true;
  bool autoRBW_ = true;
  bool dragActive_ = false;
  bool toolbarShown_ = true;
  bool pictureDirty_ = true;  // the off-screen picture must be drawn again
  int32_t spectraPerInput_ = 16;
  int32_t toolbarWidth_ = 0;
  float minPower_ = -100.0f;
  float maxPower_ = 0.0f;
  double rbw_ = 0.0;
  double effectiveRBW_ = 0.0;
  double startFreq_ = -1e6;
  double stopFreq_ = 1e6;
  double centerFreq_ = 0.0;
  int32_t mouseMode_ = 1;
  int32_t persistenceType_ = 1;
  lv::Point lastMouse_{};
  lv::Point dragStart_{};
  std::vector<lv::MenuItem> popup_;
  lv::Rect imageRect_{};
  lv::Rect rbwBox_{2, 10, 52, 40};
  lv::Rect spanBox_{2, 50, 52, 80};
  lv::Rect freqAxisBox_{};
  lv::Rect powerAxisBox_{};
  lv::Rect dragRect_{};
  int32_t textColor_ = 10;
  int32_t gridColor_ = 2;
  int32_t backgroundColor_ = 0;
  lv::Font normalFont_{};
  lv::Font verticalFont_{};
  std::unique_ptr<CWOffScreenDC> offScreen_;
  std::unique_ptr<CWPlot2DValueWndw> valueWindow_;
  std::unique_ptr<CQCArrayTD> input_;
  std::unique_ptr<CWPlotPersSpec> persPlot_;
  std::unique_ptr<CQMultiSpectrum> multiSpectrum_;
  std::unique_ptr<lv::ChildWindow> window_;
  lv::Bitmap frame_;
  lv::Bitmap lastFrame_;
};
