// CWPlot2DToolWndw: the window of the two x/y plots (time domain and
// spectrum). It is a child window in the main window's plot area, owned by
// the plot thread that creates it, and the plot engine CWPlot2D at once.
//
// What it adds to the engine:
// - a vertical toolbar of mouse tools in a column at the left of the client
//   area (toolbar 216 for plot kinds 0 and 1, 219 for kinds 2 and 3), drawn
//   by the window itself into its frame, with pressed states and tooltips;
// - an off-screen bitmap the size of the client area less the toolbar, into
//   which every change is drawn (Redraw); painting only composes the toolbar,
//   that bitmap, the zoom's tracking rectangle and the value window into the
//   frame handed to the widget;
// - mouse modes: location tool (value window), vertical, horizontal and
//   both-axes zoom drags, marker placement; a right click opens the pop-up
//   menu of image, data, colour and memory commands;
// - the marker read-out, image saving, copying and printing, the axes limits
//   dialogs.
//
// Every handler runs on the owning thread: window messages reach
// OnWindowMessage through the layer's per-thread queue; dialogs, file and
// print dialogs and the error dialog are reached only through the modal
// bridge.
//
// Hooks for the derived windows (time-domain and spectrum windows):
// - OnCommand(id): commands of the menu, the toolbar and the pop-up menu.
//   Handle your own ids and pass the rest to CWPlot2DToolWndw::OnCommand.
//   The base handles 40047 (marker on/off) and 40048 (place marker: mouse
//   mode 4) in a plain way; override them to do more.
// - BuildPopupMenu(): the pop-up menu; call the base and append your items.
// - SaveMemory1 / SaveMemory2: dataset 1 into memory 1 / 2, shown, redrawn.
// - SnapMarkerToData: called after the marker x was set by a click; move the
//   marker to the nearest sample and set marker value (and markerComplex,
//   markerReal, markerImag). Empty here.
// - OnWindowMessage(m): every window message; extend for keys and the like
//   and pass the rest on.
// - PaintMarkers (engine hook): the marker read-out; PaintOverlay (engine
//   hook) stays free for the derived windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/window.h"
#include "platform/window_messages.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "plots/windows/value_window.h"

class CWPlot2DToolWndw : public CWPlot2D {
 public:
  // Command ids of the toolbars.
  static constexpr uint32_t kCmdLocationTool = 40034;
  static constexpr uint32_t kCmdVerticalZoom = 40035;
  static constexpr uint32_t kCmdHorizontalZoom = 40036;
  static constexpr uint32_t kCmdBothZoom = 40037;
  static constexpr uint32_t kCmdLockVertical = 40038;
  static constexpr uint32_t kCmdLockHorizontal = 40039;
  static constexpr uint32_t kCmdAxesLimits = 40041;
  static constexpr uint32_t kCmdMarkerOnOff = 40047;
  static constexpr uint32_t kCmdPlaceMarker = 40048;
  // Command ids of the pop-up menu.
  static constexpr uint32_t kCmdCopyImage = 36100;
  static constexpr uint32_t kCmdSaveImage = 36101;
  static constexpr uint32_t kCmdPrintImage = 36102;
  static constexpr uint32_t kCmdSaveData = 36103;
  static constexpr uint32_t kCmdScreenScheme = 36104;
  static constexpr uint32_t kCmdPaperScheme = 36105;
  static constexpr uint32_t kCmdShowHideToolbar = 36106;
  static constexpr uint32_t kCmdLinesOn = 36107;
  static constexpr uint32_t kCmdSymbolsOn = 36108;
  static constexpr uint32_t kCmdSaveMemory1 = 36109;
  static constexpr uint32_t kCmdMemory1On = 36110;
  static constexpr uint32_t kCmdSaveMemory2 = 36111;
  static constexpr uint32_t kCmdMemory2On = 36112;

  // Mouse modes.
  static constexpr int32_t kModeLocation = 0;
  static constexpr int32_t kModeVerticalZoom = 1;
  static constexpr int32_t kModeHorizontalZoom = 2;
  static constexpr int32_t kModeBothZoom = 3;
  static constexpr int32_t kModeMarker = 4;

  // The toolbar column: its width, the height of a button and a separator,
  // and the space above the first button.
  static constexpr int32_t kToolbarWidth = 32;
  static constexpr int32_t kButtonHeight = 30;
  static constexpr int32_t kSeparatorHeight = 8;
  static constexpr int32_t kToolbarTop = 3;

  // The print job's name (both plot kinds).
  static constexpr const wchar_t* kPrintJobName = L"Rivuduz Odid";

  // One button of the toolbar (or a separator) and where it lies in the
  // client area.
  struct ToolButton {
    uint32_t id = 0;
    bool separator = false;
    std::wstring tooltip;
    lv::Rect rect{};
  };

  // Plot kind 0 and 1: toolbar 216 and the full limits dialog; 2 and 3:
  // toolbar 219 and the vertical limits dialog.
  explicit CWPlot2DToolWndw(int32_t plotKind);
  ~CWPlot2DToolWndw() override;

  // Creates the window, hidden, as a child of the frame's plot area, owned by
  // the calling thread, with the toolbar, pop-up menu, colour scheme and
  // value window. icon is accepted for the caller's convenience (the plot
  // area's sub-windows show no icon). False when creation failed.
  bool CreateToolWindow(const wchar_t* title, const lv::Rect& rect, const lv::FrameWindow& parent,
                        const lv::Bitmap* icon = nullptr);
  // The layer window (null before creation).
  lv::ChildWindow* Window() { return window_.get(); }
  const lv::ChildWindow* Window() const { return window_.get(); }

  void ShowToolbar(bool show);
  // Forgets every dataset's arrays and label (point counts and memories
  // stay) and redraws the background.
  void ClearData();

  virtual void SaveMemory1();
  virtual void SaveMemory2();
  virtual void SnapMarkerToData() {}

  // Every window message of the window (owner thread).
  virtual void OnWindowMessage(const lv::WindowMessage& m);
  // A command of the toolbar, the pop-up menu or the menu.
  virtual void OnCommand(uint32_t id);
  // The pop-up menu with its check marks as they are now.
  virtual std::vector<lv::MenuItem> BuildPopupMenu();

  // Draws everything into the off-screen bitmap and hands a new frame over.
  void Redraw();
  // Composes the frame (toolbar, off-screen bitmap, tracking rectangle,
  // value window) and hands it to the widget.
  void Present();

  // The marker read-out texts (first line: x; second line: the value).
  static std::wstring MarkerXText(int32_t xAxisType, double x);
  static std::wstring MarkerValueText(int32_t yAxisType, double value, bool complex, float real, float imag);

  // The zoom's limit rules, applied to the engine: dragged data values
  // (any order) in the mode's direction; then auto-scaling off on that axis.
  void ApplyZoom(int32_t mode, double x0, double y0, double x1, double y1);

  // Runs the axes limits dialog of the plot kind and takes its values back.
  void RunAxesLimitsDialog();
  // Image, clipboard, print and data commands (the menu's actions).
  void CopyImage();
  void SaveImage();
  void PrintImage();
  void SaveFormattedData();
  // Screen (true) or paper colour scheme.
  void ApplyColorScheme(bool screen);

  // State read by the derived windows and tests.
  int32_t PlotKind() const { return plotKind_; }
  int32_t MouseMode() const { return mouseMode_; }
  void SetMouseMode(int32_t mode);
  int32_t ToolbarWidth() const { return toolbarWidth_; }
  bool ToolbarShown() const { return toolbarShown_; }
  bool ScreenSchemeOn() const { return screenSchemeOn_; }
  bool PaperSchemeOn() const { return paperSchemeOn_; }
  bool ZoomActive() const { return bothZoom_ || horizontalZoom_ || verticalZoom_; }
  const lv::Rect& TrackingRect() const { return trackingRect_; }
  const std::vector<ToolButton>& ToolButtons() const { return buttons_; }
  // Whether the toolbar button shows pressed (the current mode, the locks).
  bool IsButtonPressed(uint32_t id) const;
  // The tooltip of the button under a client point ("" when none).
  std::wstring ToolbarTooltipAt(lv::Point clientPoint) const;
  const lv::Bitmap& OffScreenBitmap() const { return offDc_.GetBitmap(); }
  lv::ImageDc& OffScreenDc() { return offDc_; }
  // The last frame composed (what the widget shows).
  const lv::Bitmap& LastFrame() const { return lastFrame_; }
  CWPlot2DValueWndw& ValueWindow() { return valueWindow_; }

  // The fields of the window (see the Part's data model).
  lv::Rect boundingRect{};
  bool alwaysShown = false;
  double zoomStartX = 0.0, zoomEndX = 0.0, zoomStartY = 0.0, zoomEndY = 0.0;
  lv::Point mousePos{};
  lv::Point dragStart{};
  lv::Point dragEnd{};
  bool markerOn = false;
  bool markerComplex = false;
  double markerX = 0.0;
  double markerValue = 0.0;
  float markerReal = 0.0f;
  float markerImag = 0.0f;

 protected:
  void PaintMarkers(lv::DeviceContext& dc) override;

  // Window messages.
  virtual void OnSize(int32_t clientWidth, int32_t clientHeight);
  virtual void OnLButtonDown(lv::Point client);
  virtual void OnMouseMove(lv::Point client);
  virtual void OnLButtonUp(lv::Point client);
  virtual void OnRButtonDown(lv::Point client);
  virtual void OnClose();

  // Whether a client point lies in the plot area (the engine's plot area
  // shifted right by the toolbar width).
  bool InPlotArea(lv::Point client) const;
  // Resizes the off-screen bitmap to the client area less the toolbar.
  void ResizeOffScreen();
  // Updates the window's cursor for a client point.
  void UpdateCursor(lv::Point client);
  void UpdateToolbarPressed();
  void LayoutToolbar();
  void DrawToolbar(lv::DeviceContext& dc, int32_t height);
  // Runs fn; a CQError goes to the error dialog with the name appended.
  template <typename Fn>
  void Guarded(const char* name, Fn fn) {
    try {
      fn();
    } catch (CQError* e) {
      e->AddToCallStack(name);
      ShowErrorDialog(e);
    }
  }

 private:
  int32_t plotKind_;
  std::unique_ptr<lv::ChildWindow> window_;
  lv::Rect trackingRect_{};
  bool screenSchemeOn_ = true;
  bool paperSchemeOn_ = false;
  bool bothZoom_ = false;
  bool horizontalZoom_ = false;
  bool verticalZoom_ = false;
  bool toolbarShown_ = true;
  int32_t toolbarWidth_ = 0;
  int32_t mouseMode_ = kModeLocation;
  lv::Size client_{};
  lv::ImageDc offDc_;
  lv::ImageDc frameDc_;
  lv::Bitmap lastFrame_;
  std::vector<ToolButton> buttons_;
  lv::Font markerFont_ = lv::MonoFont();
  CWPlot2DValueWndw valueWindow_;
  lv::Color offScreenBackground_ = lv::MakeRgb(0, 0, 0);
};
