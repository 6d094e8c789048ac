// CWPiBDlg: the "Power in A Band" dialog of the spectrum window (template
// "PIBDialog"): whether the measurement is on, two bands and their
// averaging.
//
// Use: construct, set measOn and copy the window's band list in
// (BandList().Set(&current)), DoModal, and when it answers 1 read measOn and
// the list back: it then holds exactly two bands. Every end other than
// "Accept" (the "Cancel" button, Escape, the close box) answers 0 and leaves
// both as they were set. A list that does not hold exactly two bands is
// shown as empty fields and cleared boxes. The dialog checks no ranges; a
// frequency text without a number keeps the value that was shown (0 and
// 1 MHz for a band that was not shown).
#pragma once

#include <memory>

#include "core/spectral/power_in_band.h"
#include "plots/windows/settings_dlg_fields.h"

// Control ids of "PIBDialog".
enum : int {
  kIdcPiBAccept = 1285,
  kIdcPiBCancel = 1286,
  kIdcPiBAvgOn = 1287,
  kIdcPiBNumAvgs = 1288,
  kIdcPiBBand1On = 1289,
  kIdcPiBBand1Offset = 1290,
  kIdcPiBBand1OffsetUnits = 1291,
  kIdcPiBBand1BW = 1292,
  kIdcPiBBand1BWUnits = 1293,
  kIdcPiBBand2Offset = 1294,
  kIdcPiBBand2OffsetUnits = 1295,
  kIdcPiBBand2BW = 1296,
  kIdcPiBBand2BWUnits = 1297,
  kIdcPiBBand2On = 1298,
  kIdcPiBOn = 1299,
};

lv::DialogTemplate PiBDialogTemplate();

class CWPiBDlg : public CWPlotSettingsDlgBase {
 public:
  CWPiBDlg();
  ~CWPiBDlg() override;

  bool measOn = false;
  CQPiBMeasBandList& BandList() { return *list_; }
  const CQPiBMeasBandList& BandList() const { return *list_; }
  // The unit button beside a frequency field (by the field's id; null for
  // any other id).
  CWUnitsButton* UnitsOf(int editId);

 protected:
  bool OnInitDialog() override;
  void OnShowWindow();
  void OnAccept() override;

 private:
  std::unique_ptr<CQPiBMeasBandList> list_;
  // Band 1 offset, band 1 bandwidth, band 2 offset, band 2 bandwidth.
  std::unique_ptr<CWUnitsButton> units_[4];
};
