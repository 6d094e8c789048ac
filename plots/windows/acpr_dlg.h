// CWACPRDlg: the "Adjacent Channel Power Ratio" dialog of the spectrum window
// (template "ACPRDialog"): whether the measurement is on, its bands and its
// averaging.
//
// Use: construct, set measOn and copy the window's band set in
// (Bands().Set(&current)), DoModal, and when it answers 1 read measOn and the
// band set back. Every end other than "Accept" (the "Cancel" button, Escape,
// the close box) answers 0 and leaves both as they were set. Accept changes
// only the layout and averaging of the band set, never its results. The
// dialog checks no ranges; a frequency text without a number keeps the value
// that was shown.
#pragma once

#include <memory>

#include "core/spectral/acpr.h"
#include "plots/windows/settings_dlg_fields.h"

// Control ids of "ACPRDialog".
enum : int {
  kIdcACPROn = 1267,
  kIdcACPRCenterBW = 1270,
  kIdcACPRCenterBWUnits = 1271,
  kIdcACPRAccept = 1272,
  kIdcACPRCancel = 1273,
  kIdcACPRAvgOn = 1274,
  kIdcACPRNumAvgs = 1275,
  kIdcACPRAdjOffset = 1276,
  kIdcACPRAdjOffsetUnits = 1277,
  kIdcACPRAdjBW = 1278,
  kIdcACPRAdjBWUnits = 1279,
  kIdcACPRAdj2Offset = 1280,
  kIdcACPRAdj2OffsetUnits = 1281,
  kIdcACPRAdj2BW = 1282,
  kIdcACPRAdj2BWUnits = 1283,
  kIdcACPRAdj2On = 1284,
  kIdcACPRCenterOffset = 1285,
  kIdcACPRCenterOffsetUnits = 1286,
  kIdcACPRRelToCenter = 1287,
  kIdcACPRExtraOn = 1288,
  kIdcACPRExtraOffset = 1289,
  kIdcACPRExtraOffsetUnits = 1290,
  kIdcACPRExtraBW = 1291,
  kIdcACPRExtraBWUnits = 1292,
};

lv::DialogTemplate ACPRDialogTemplate();

class CWACPRDlg : public CWPlotSettingsDlgBase {
 public:
  CWACPRDlg();
  ~CWACPRDlg() override;

  bool measOn = false;
  CQACPRMeasBands& Bands() { return *bands_; }
  const CQACPRMeasBands& Bands() const { return *bands_; }
  // The unit button beside a frequency field (by the field's id; null for
  // any other id).
  CWUnitsButton* UnitsOf(int editId);

 protected:
  bool OnInitDialog() override;
  void OnShowWindow();
  void OnAccept() override;

 private:
  std::unique_ptr<CQACPRMeasBands> bands_;
  // One per frequency field, in the order of kFields in the source.
  std::unique_ptr<CWUnitsButton> units_[8];
};
