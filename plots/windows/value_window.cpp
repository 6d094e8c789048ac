// The location tool's value window and the severity message box.
#include "plots/windows/value_window.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/window.h"
#include "plots/axis_scale.h"

namespace {

std::wstring Format(const wchar_t* format, const std::wstring& name, double value) {
  wchar_t buffer[160];
  std::swprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, name.c_str(), value);
  return buffer;
}

// Frame colours of a dialog frame: light outer edge, dark inner edge.
constexpr lv::Color kFrameLight = lv::MakeRgb(227, 227, 227);
constexpr lv::Color kFrameFace = lv::MakeRgb(240, 240, 240);
constexpr lv::Color kFrameShadow = lv::MakeRgb(160, 160, 160);
constexpr lv::Color kFrameDark = lv::MakeRgb(105, 105, 105);

}  // namespace

lv::Font CWPlot2DValueWndw::ValueFont() {
  // 7 points at 96 dots per inch: an em of 9.3 pixels, a cell of 11.
  return lv::Font{lv::FontFace::kSans, 11, 0, false};
}

void CWPlot2DValueWndw::CreateValueWindow(const lv::LayerWindow* parent) {
  parent_ = parent;
  font_ = ValueFont();
  geometry_ = kInitialRect;
  visible_ = false;
  created_ = true;
}

void CWPlot2DValueWndw::ShowNear(int32_t x, int32_t y) {
  const int32_t height = parent_ != nullptr ? parent_->ClientSize().cy : geometry_.bottom + 1;
  ShowNearInHeight(x, y, height);
}

void CWPlot2DValueWndw::ShowNearInHeight(int32_t x, int32_t y, int32_t parentHeight) {
  mouseX = x;
  mouseY = y;
  const int32_t w = geometry_.Width();
  const int32_t h = geometry_.Height();
  int32_t left = x - w - 12;
  if (left < 0) {
    left = x + 13;
  }
  int32_t top = y - h / 2;
  if (top < 1) {
    top = 1;
  }
  if (top + h > parentHeight) {
    top = parentHeight - h - 1;
  }
  geometry_ = lv::Rect{left, top, left + w, top + h};
  visible_ = true;
}

void CWPlot2DValueWndw::MakeLines(std::wstring& yLine, std::wstring& xLine) const {
  std::wstring name;
  double divisor = 1.0;
  CQAxisScale::MakeLabel(yAxisType, yValue, name, divisor);
  const wchar_t* yFormat = yAxisType == 13 ? L"%ls = %.2lf" : yAxisType == 0 ? L"%ls = %.9lf" : L"%ls = %.3lf";
  yLine = Format(yFormat, name, yValue / divisor);

  CQAxisScale::MakeLabel(xAxisType, xValue, name, divisor);
  const wchar_t* xFormat = L"%ls = %.3lf";
  if (xAxisType == 0) {
    xFormat = L"%ls = %.9lf";
  } else if (xAxisType == 2) {
    xFormat = std::fabs(xValue) > 1e9 ? L"%ls = %.6lf" : L"%ls = %.3lf";
  } else if (xAxisType == 13) {
    xFormat = L"%ls = %.2lf";
  }
  xLine = Format(xFormat, name, xValue / divisor);
}

void CWPlot2DValueWndw::OnPaint(lv::DeviceContext& dc) {
  if (!visible_) {
    return;
  }
  try {
    const lv::Rect& g = geometry_;
    // The dialog frame: a raised edge around the face.
    dc.FillSolidRect(g, kFrameDark);
    dc.FillSolidRect(lv::Rect{g.left, g.top, g.right - 1, g.bottom - 1}, kFrameLight);
    dc.FillSolidRect(lv::Rect{g.left + 1, g.top + 1, g.right - 1, g.bottom - 1}, kFrameShadow);
    dc.FillSolidRect(lv::Rect{g.left + 1, g.top + 1, g.right - 2, g.bottom - 2}, kFrameFace);
    const lv::Rect client{g.left + kFrameWidth, g.top + kFrameWidth, g.right - kFrameWidth, g.bottom - kFrameWidth};
    dc.FillSolidRect(client, lv::kWindowColor);

    const lv::Font oldFont = dc.SelectFont(font_);
    const lv::TextAlign oldAlign = dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
    const lv::BkMode oldMode = dc.SetBkMode(lv::BkMode::kTransparent);
    const lv::Color oldColor = dc.SetTextColor(lv::MakeRgb(0, 0, 0));
    std::wstring yLine;
    std::wstring xLine;
    try {
      MakeLines(yLine, xLine);
      const int32_t ascent = dc.GetTextMetrics().ascent;
      dc.TextOut(client.left + 10, client.top + 4, yLine);
      dc.TextOut(client.left + 10, client.top + ascent + 7, xLine);
    } catch (...) {
      dc.SelectFont(oldFont);
      dc.SetTextAlign(oldAlign);
      dc.SetBkMode(oldMode);
      dc.SetTextColor(oldColor);
      throw;
    }
    dc.SelectFont(oldFont);
    dc.SetTextAlign(oldAlign);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColor);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlot2DValueWndw::OnPaint");
    ShowErrorDialog(e);
  }
}

CQMessageBox::CQMessageBox(int32_t severity, const char* text)
    : severity_(severity), hasText_(text != nullptr), text_(text != nullptr ? text : "") {}

const wchar_t* CQMessageBox::CaptionFor(int32_t severity) {
  switch (severity) {
    case 1:
      return L"Warning";
    case 2:
      return L"Error";
    default:
      return L"Information";
  }
}

void CQMessageBox::Show(const lv::LayerWindow* /*owner*/) const {
  if (!hasText_) {
    return;
  }
  // The text is in the system's 8-bit code page.
  std::vector<wchar_t> wide(text_.size() + 1, L'\0');
  if (AnsiToWide(text_.c_str(), wide.data(), static_cast<int>(wide.size())) == 0) {
    for (size_t i = 0; i < text_.size(); ++i) {
      wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text_[i]));
    }
  }
  const lv::MessageSeverity kind = severity_ == 1   ? lv::MessageSeverity::kWarning
                                   : severity_ == 2 ? lv::MessageSeverity::kError
                                                    : lv::MessageSeverity::kInformation;
  lv::ShowMessageBox(std::wstring(wide.data()), CaptionFor(severity_), kind, lv::MessageButtons::kOk);
}
