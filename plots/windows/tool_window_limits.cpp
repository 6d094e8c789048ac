// The plot tool window's "Axes Limits..." command: the limits dialog of the
// plot kind, with values in the axes' label units.
// (Kept apart from the files that use the message boxes: the layer's dialog
// and message-box headers both name the standard answer ids.)
#include "plots/windows/limits_dialogs.h"
#include "plots/windows/tool_window.h"

void CWPlot2DToolWndw::RunAxesLimitsDialog() {
  Guarded("CWPlot2DToolWndw::RunAxesLimitsDialog", [&] {
    const double xd = xLabelDivisor != 0.0 ? xLabelDivisor : 1.0;
    const double yd = yLabelDivisor != 0.0 ? yLabelDivisor : 1.0;
    const std::wstring xTitle = XAxisTitle();
    const std::wstring yTitle = YAxisTitle();
    if (plotKind_ == 0 || plotKind_ == 1) {
      const int mode = plotKind_ == 0 ? 0 : 1;
      const double second = mode == 0 ? yMin / yd : (yMax - yMin) / 10.0 / yd;
      CWPlot2DLimitsDlg dlg(mode, xMin / xd, xMax / xd, xAutoScale, xTitle.c_str(), second, yMax / yd, yAutoScale,
                            yTitle.c_str());
      dlg.DoModal();
      xMin = dlg.xMinimum * xd;
      xMax = dlg.xMaximum * xd;
      xAutoScale = dlg.xAutomaticScale;
      yAutoScale = dlg.yAutomaticScale;
      yMax = dlg.yMaximum * yd;
      if (mode == 0) {
        yMin = dlg.ySecondValue * yd;
      } else {
        const double step = dlg.ySecondValue > 0.0 ? dlg.ySecondValue : 1.0;
        yMin = (dlg.yMaximum - 10.0 * step) * yd;
      }
    } else {
      const int mode = plotKind_ == 2 ? 0 : 1;
      const double second = mode == 0 ? yMin / yd : (yMax - yMin) / 10.0 / yd;
      CWPlot2DVertLimitsDlg dlg(mode, yMax / yd, second, yAutoScale, yTitle.c_str());
      dlg.DoModal();
      yAutoScale = dlg.automaticScale;
      if (!dlg.automaticScale) {
        if (mode == 0) {
          yMax = dlg.maximum * yd;
          yMin = dlg.secondValue * yd;
        } else {
          const double step = dlg.secondValue > 0.0 ? dlg.secondValue : 1.0;
          yMax = dlg.maximum * yd;
          yMin = (dlg.maximum - 10.0 * step) * yd;
        }
      }
    }
    Redraw();
  });
}
