// CWPlot2DValueWndw: the small window of the location tool that shows the x
// and y value under the mouse in a plot window, and CQMessageBox, a short
// top-most message with a severity.
//
// The value window lives inside its plot window's client area and belongs to
// the plot window's thread. It has no widget of its own: the plot window
// composes it over its frame (OnPaint into the frame's device context at the
// window's geometry) before handing the frame over, so it always sits on top
// of the plot, as a top-most child would.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/device_context.h"
#include "platform/gui/drawing.h"

namespace lv {
class LayerWindow;
}

class CWPlot2DValueWndw {
 public:
  // The outer rectangle at creation, (100, 100)-(285, 143), and the width of
  // its dialog frame.
  static constexpr lv::Rect kInitialRect{100, 100, 285, 143};
  static constexpr int32_t kFrameWidth = 3;

  CWPlot2DValueWndw() = default;
  CWPlot2DValueWndw(const CWPlot2DValueWndw&) = delete;
  CWPlot2DValueWndw& operator=(const CWPlot2DValueWndw&) = delete;

  // Creates the window (hidden, at its initial rectangle) over the parent's
  // client area, with its 7-point dialog font. The parent must outlive it.
  void CreateValueWindow(const lv::LayerWindow* parent);
  bool IsCreated() const { return created_; }
  // Remembers the mouse position (parent client coordinates) and shows the
  // window next to it, inside the parent's client height.
  void ShowNear(int32_t x, int32_t y);
  // The same with the parent's client height given (what ShowNear uses).
  void ShowNearInHeight(int32_t x, int32_t y, int32_t parentHeight);
  void Hide() { visible_ = false; }
  bool IsVisible() const { return visible_; }
  // The outer rectangle in the parent's client coordinates.
  const lv::Rect& Geometry() const { return geometry_; }

  // Draws the window (frame and the two value lines) into dc, whose origin
  // is the parent's client origin. Errors go to the error dialog with
  // "CWPlot2DValueWndw::OnPaint" appended; the window stays usable.
  void OnPaint(lv::DeviceContext& dc);
  // The two lines OnPaint shows (y line first); throws the CQError of an
  // axis type that has no label.
  void MakeLines(std::wstring& yLine, std::wstring& xLine) const;

  // The font: 7 points at 96 dpi (the cell height of the sans face).
  static lv::Font ValueFont();

  int32_t mouseX = 0;
  int32_t mouseY = 0;
  double xValue = 0.0;
  double yValue = 0.0;
  int32_t xAxisType = 0;
  int32_t yAxisType = 12;

 private:
  const lv::LayerWindow* parent_ = nullptr;
  lv::Rect geometry_ = kInitialRect;
  bool visible_ = false;
  bool created_ = false;
  lv::Font font_{};
};

// A short message with a severity (1 warning, 2 error, anything else
// information) in a top-most message box.
class CQMessageBox {
 public:
  // Copies the text (null: no text).
  CQMessageBox(int32_t severity, const char* text);
  ~CQMessageBox() = default;
  CQMessageBox(const CQMessageBox&) = delete;
  CQMessageBox& operator=(const CQMessageBox&) = delete;

  // Shows the message (any thread, through the modal bridge) and returns when
  // it is closed; nothing without a text. The owner only documents who asks:
  // the box is top-most over every window.
  void Show(const lv::LayerWindow* owner) const;

  int32_t Severity() const { return severity_; }
  const char* Text() const { return hasText_ ? text_.c_str() : nullptr; }
  // The caption the severity gives ("Warning", "Error", "Information").
  static const wchar_t* CaptionFor(int32_t severity);

 private:
  int32_t severity_;
  bool hasText_;
  std::string text_;
};
