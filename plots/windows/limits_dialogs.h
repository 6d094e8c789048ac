// The axis limits dialogs of the plot tool window: CWPlot2DLimitsDlg (both
// axes, "AxesLimitsDialog", "Axes Limits") and CWPlot2DVertLimitsDlg (the
// vertical axis, "AxesVertLimitsDialog", "Y Axis Limits").
//
// Each has two modes for its vertical axis: mode 0 edits the maximum and
// the minimum, mode 1 the top value and the step per division. The caller
// gives the values (already divided by the axes' label divisors), runs the
// dialog with DoModal and reads the fields back whatever the result: a
// cancelled dialog keeps the values it was given.
//
// "Accept" (1007) stores and ends with 1, "Cancel" (1008), Escape and the
// close box end with 0 without storing. Stored values are checked: the x
// limits and (mode 0) the y limits are kept only as a pair whose maximum
// exceeds its minimum, a step of 0 or less becomes 1, and a text that is not
// a number leaves its value unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/gui/dialog.h"

// Control ids of both dialogs.
namespace limits_dlg {
inline constexpr int kAccept = 1007;
inline constexpr int kCancel = 1008;
inline constexpr int kYAuto = 1009;
inline constexpr int kYManual = 1010;
inline constexpr int kXAuto = 1011;
inline constexpr int kXManual = 1012;
inline constexpr int kXMax = 1013;
inline constexpr int kXMin = 1014;
inline constexpr int kYMax = 1015;
inline constexpr int kYMin = 1016;
inline constexpr int kXTitle = 1017;
inline constexpr int kYStep = 1018;
inline constexpr int kYTitle = 1019;
inline constexpr int kMinLabel = 40053;
inline constexpr int kDivLabel = 40054;
}  // namespace limits_dlg

// What both dialogs share: the vertical axis's controls (shown, edited and
// read the same way in both), the "Accept" and "Cancel" buttons, Escape and
// the close box.
class CWPlotLimitsDlgBase : public lv::Dialog {
 protected:
  using lv::Dialog::Dialog;

  // Writes the vertical axis's fields: the maximum, the minimum (mode 0) or
  // the step (mode 1) with the other field and its label hidden, the scale
  // buttons and the title.
  void ShowVertical(int mode, double maximum, double secondValue, bool automaticScale,
                    const std::optional<std::wstring>& title);
  // Reads the vertical axis's fields into the values (see the file comment).
  void ReadVertical(int mode, double& maximum, double& secondValue, bool& automaticScale);
  // Shows a pair of scale radio buttons.
  void ShowScale(int autoId, int manualId, bool automaticScale);
  // Reads a pair of scale radio buttons; neither checked keeps the value.
  void ReadScale(int autoId, int manualId, bool& automaticScale) const;

  // Stores the values and ends the dialog with 1.
  virtual void Accept() = 0;

  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;
  void OnOK() override { Accept(); }
  void OnCancel() override { EndDialog(0); }
};

class CWPlot2DVertLimitsDlg : public CWPlotLimitsDlgBase {
 public:
  // title may be null. The parent only documents the owner.
  CWPlot2DVertLimitsDlg(int mode, double maximum, double secondValue, bool automaticScale, const wchar_t* title,
                        const void* parent = nullptr);

  static lv::DialogTemplate MakeTemplate();

  bool automaticScale;
  double maximum;
  double secondValue;  // mode 0: the minimum; mode 1: the step per division
  int mode;
  std::optional<std::wstring> title;

 protected:
  bool OnInitDialog() override;
  void Accept() override;
};

class CWPlot2DLimitsDlg : public CWPlotLimitsDlgBase {
 public:
  CWPlot2DLimitsDlg(int mode, double xMinimum, double xMaximum, bool xAutomaticScale, const wchar_t* xTitle,
                    double ySecondValue, double yMaximum, bool yAutomaticScale, const wchar_t* yTitle,
                    const void* parent = nullptr);

  static lv::DialogTemplate MakeTemplate();

  bool xAutomaticScale;
  bool yAutomaticScale;
  double xMinimum;
  double xMaximum;
  double ySecondValue;  // mode 0: the y minimum; mode 1: the step per division
  double yMaximum;
  int mode;
  std::optional<std::wstring> xTitle;
  std::optional<std::wstring> yTitle;

 protected:
  bool OnInitDialog() override;
  void OnEditChanged(int id) override;
  void Accept() override;
};

// Reads an edit's text as the dialog does (at most 31 characters, a number
// at its start in the C locale); empty when it holds no number.
std::optional<double> ReadLimitsNumber(const std::wstring& text);
