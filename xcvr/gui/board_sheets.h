// The board settings sheets: one modeless property sheet per board family in
// which the user sets what the board transmits. Each has a common page (the
// sample-rate configuration, the transmit centre frequency, the amplitude
// backoff) and one transmitter page per transmitter of the board
// (board_xmtr_pages.h):
//
//   CWSorvekInstrAD9081Sheet    "AD9081 Control"              4 transmitters
//   CWSorvekInstrAD9082Sheet    "AD9082 Control"              2 transmitters
//   CWSorvekInstrAD9361Sheet    "AD9361 (and PLUTO) Control"  2 transmitters
//   CWSorvekInstrAD9371Sheet    "AD9371 Control"              2 transmitters
//   CWSorvekInstrADRV9009Sheet  "ADRV9009 Control"            2 transmitters
//
// The sheets keep no settings. Showing one reads the instrument manager's
// transceiver settings (get 1, a copy), the backoff choice (gets 11 and 12)
// and each transmitter's file name from the data manager (get 6). OK checks
// every number field first (a field that does not parse, or a rate the
// ADALM-Pluto cannot run, refuses OK with a message and sends nothing), then
// starts from a fresh copy of the instrument manager's settings, changes only
// what the sheet edits and sends it back (set 1 with the transmitter and rate
// groups flagged; the ADRV9009 sheet also the receiver group, whose centre
// frequency tunes that board's one local oscillator), after the backoff
// (sets 11 and 12) and the file names (data-manager set 6). Cancel, Escape
// and the close box only hide the sheet.
//
// Use by the main window (GUI thread): construct each sheet with the
// instrument-manager and data-manager threads (which must outlive the
// sheet's use) and the application's transmitter and receiver counts; call
// Create() once at start-up (builds the hidden window with every page; false
// and an error dialog on failure); ShowWindow(true) on the family's command
// shows it and reads the current values; ShowWindow(false) hides it.
// SetBringOwnerToFront gives the call that puts the main window in front when
// OK or Cancel hides the sheet.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/dialog_template.h"
#include "platform/gui/property_sheet.h"
#include "workers/gui/units_button.h"
#include "xcvr/gui/board_xmtr_pages.h"

class CWUIThread;
class CQInstrIIOMultiXcvrSettings;

// Control ids of the common page templates.
enum : int {
  // 123 (AD9081 and AD9082)
  kIdcAD9081CommonConfig = 1221,
  kIdcAD9081CommonRate = 1222,
  kIdcAD9081CommonRateUnits = 1223,
  kIdcAD9081CommonSpan = 1224,
  kIdcAD9081CommonSpanUnits = 1225,
  kIdcAD9081CommonAutoBackoff = 1332,
  kIdcAD9081CommonBackoff = 1015,
  // 130 (AD9361 family)
  kIdcAD9361CommonFreq = 1267,
  kIdcAD9361CommonFreqUnits = 1268,
  kIdcAD9361CommonConfig = 1269,
  kIdcAD9361CommonRate = 1270,
  kIdcAD9361CommonRateUnits = 1271,
  kIdcAD9361CommonSpan = 1272,
  kIdcAD9361CommonSpanUnits = 1273,
  kIdcAD9361CommonAutoBackoff = 1346,
  kIdcAD9361CommonBackoff = 1347,
  // 136 (AD9371)
  kIdcAD9371CommonFreq = 1320,
  kIdcAD9371CommonFreqUnits = 1321,
  kIdcAD9371CommonConfig = 1325,
  kIdcAD9371CommonTxRate = 1326,
  kIdcAD9371CommonTxRateUnits = 1327,
  kIdcAD9371CommonRxRate = 1328,
  kIdcAD9371CommonRxRateUnits = 1329,
  kIdcAD9371CommonAutoBackoff = 1348,
  kIdcAD9371CommonBackoff = 1349,
  // 118 (ADRV9009)
  kIdcADRV9009CommonFreq = 1168,
  kIdcADRV9009CommonFreqUnits = 1169,
  kIdcADRV9009CommonConfig = 1180,
  kIdcADRV9009CommonRate = 1181,
  kIdcADRV9009CommonRateUnits = 1183,
  kIdcADRV9009CommonSpan = 1182,
  kIdcADRV9009CommonSpanUnits = 1184,
  kIdcADRV9009CommonAutoBackoff = 1350,
  kIdcADRV9009CommonBackoff = 1351,
};

lv::DialogTemplate AD9081CommonPageTemplate();
lv::DialogTemplate AD9361CommonPageTemplate();
lv::DialogTemplate AD9371CommonPageTemplate();
lv::DialogTemplate ADRV9009CommonPageTemplate();

// One entry of a configuration list.
struct CQRateEntry {
  const wchar_t* text;
  int32_t rateIndex;
};

// What differs between the common pages.
struct CQCommonPageLayout {
  const char* className;  // for call stacks
  int frequency;          // 0: no frequency field
  int frequencyUnits;
  int config;
  int value1, unit1, value2, unit2;
  int autoBackoff;
  int backoff;
};

class CWSorvekInstrCommonPage : public lv::PropertyPage {
 public:
  CWSorvekInstrCommonPage(lv::DialogTemplate tmpl, const CQCommonPageLayout& layout, CWUIThread* instr);
  ~CWSorvekInstrCommonPage() override;

  // Shows the record (frequency, the rate when its group is set) and the
  // backoff choice; ends unmodified. Errors go to the error dialog. A null
  // record does nothing.
  virtual void RefreshSettings(const CQInstrIIOMultiXcvrSettings* record);
  // Throws a CQError when OK must be refused: a frequency that is not a
  // number, or (ADALM-Pluto) a rate above 30.72 Msps.
  virtual void CheckSettings() const;
  // Takes the frequency and the rate index into the record and sends the
  // backoff choice at once; false when an error was shown.
  bool GetSettings(CQInstrIIOMultiXcvrSettings* record);
  // Shows the two values of the rate tables for the index; the tables'
  // errors pass on with this operation's name.
  virtual void DisplayFilterConfig(int32_t rateIndex);

  // The rate index of the selected list entry (the first entry's when none).
  int32_t SelectedRateIndex() const;
  const std::vector<CQRateEntry>& Entries() const { return entries_; }
  const CQCommonPageLayout& Layout() const { return layout_; }
  CWUnitsButton* FrequencyUnits() { return freqUnits_.get(); }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;
  void OnSelectionChanged(int id) override;

  // The list's entries (the AD9081 page's depend on its model).
  virtual std::vector<CQRateEntry> MakeEntries() const = 0;
  // The index shown for a stored index that has no entry (the list then
  // selects its first entry).
  virtual int32_t ShownIndexWithoutEntry(int32_t stored) const;
  // Frequency of the record that the page shows, and where the entered one goes.
  virtual double ShownFrequency(const CQInstrIIOMultiXcvrSettings& record) const;
  virtual void StoreFrequency(CQInstrIIOMultiXcvrSettings& record, double hertz) const;
  std::string Name(const char* operation) const;

  CQCommonPageLayout layout_;
  CWUIThread* instr_;
  std::vector<CQRateEntry> entries_;
  std::unique_ptr<CWUnitsButton> freqUnits_;
  int32_t freqCode_ = 0;
};

// Template 123, for the AD9081 (model 9) and AD9082 (model 14) sheets.
class CWSorvekInstrAD9081CommonPage : public CWSorvekInstrCommonPage {
 public:
  CWSorvekInstrAD9081CommonPage(int32_t model, CWUIThread* instr);
  int32_t Model() const { return model_; }

 protected:
  std::vector<CQRateEntry> MakeEntries() const override;

 private:
  int32_t model_;
};

// Template 130; the model (FMCOMMS3, ADRV9361 or ADALM-Pluto) comes from the
// settings whenever their model group is set.
class CWSorvekInstrAD9361CommonPage : public CWSorvekInstrCommonPage {
 public:
  explicit CWSorvekInstrAD9361CommonPage(CWUIThread* instr);
  void RefreshSettings(const CQInstrIIOMultiXcvrSettings* record) override;
  void CheckSettings() const override;
  int32_t Model() const { return model_; }
  void SetModel(int32_t model) { model_ = model; }

 protected:
  std::vector<CQRateEntry> MakeEntries() const override;
  int32_t ShownIndexWithoutEntry(int32_t stored) const override;

 private:
  int32_t model_ = 0;
};

// Template 136: the transmit and receive sample rates of its one configuration.
class CWSorvekInstrAD9371CommonPage : public CWSorvekInstrCommonPage {
 public:
  explicit CWSorvekInstrAD9371CommonPage(CWUIThread* instr);
  void DisplayFilterConfig(int32_t rateIndex) override;

 protected:
  std::vector<CQRateEntry> MakeEntries() const override;
};

// Template 118: the board tunes its one local oscillator from the receive
// centre frequency, so the page shows that and stores the entered frequency
// as both the transmit and the receive centre.
class CWSorvekInstrADRV9009CommonPage : public CWSorvekInstrCommonPage {
 public:
  explicit CWSorvekInstrADRV9009CommonPage(CWUIThread* instr);

 protected:
  std::vector<CQRateEntry> MakeEntries() const override;
  double ShownFrequency(const CQInstrIIOMultiXcvrSettings& record) const override;
  void StoreFrequency(CQInstrIIOMultiXcvrSettings& record, double hertz) const override;
};

// The pages, held in a base that is built before the sheet's base and
// destroyed after it: the sheet's window (with every page widget) is gone
// before a page is deleted.
struct CWSorvekInstrSheetPages {
  std::unique_ptr<CWSorvekInstrCommonPage> commonPage_;
  std::vector<std::unique_ptr<CWSorvekInstrXmtrPage>> xmtrPages_;
};

// What differs between the boards' sheets: the caption, the name for call
// stacks, the transmitter pages, the page classes and whether OK sends the
// receiver group too (its centre frequency).
struct CQBoardSheetKind {
  const wchar_t* caption;
  const char* className;
  int boardXmtrs;
  bool sendsReceivers;
  std::unique_ptr<CWSorvekInstrCommonPage> (*makeCommonPage)(CWUIThread* instr);
  std::unique_ptr<CWSorvekInstrXmtrPage> (*makeXmtrPage)(int index, CWUIThread* dataMgr);
};

class CWSorvekInstrBoardSheet : private CWSorvekInstrSheetPages, public lv::PropertySheet {
 public:
  ~CWSorvekInstrBoardSheet() override;

  bool Create();
  void ShowWindow(bool show);
  void OnShowWindow(bool show);
  // Reads the instrument manager's settings into every page.
  void RefreshSettings();
  // OK: true when the settings were sent (the sheet then hides).
  bool OnOKButton();
  void SetBringOwnerToFront(std::function<void()> call) { bringOwnerToFront_ = std::move(call); }

  int BoardTransmitters() const { return kind_.boardXmtrs; }
  CWSorvekInstrCommonPage* CommonPage() const { return commonPage_.get(); }
  CWSorvekInstrXmtrPage* XmtrPage(int i) const;

 protected:
  CWSorvekInstrBoardSheet(const CQBoardSheetKind& kind, int appXmtrs, int appRcvrs, CWUIThread* instr,
                          CWUIThread* dataMgr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  std::string Name(const char* operation) const;
  void Hide();

  const CQBoardSheetKind& kind_;
  int appXmtrs_;
  int appRcvrs_;
  CWUIThread* instr_;
  CWUIThread* dataMgr_;
  std::function<void()> bringOwnerToFront_;
};

class CWSorvekInstrAD9081Sheet : public CWSorvekInstrBoardSheet {
 public:
  CWSorvekInstrAD9081Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs = 4, int appRcvrs = 4);
};

class CWSorvekInstrAD9082Sheet : public CWSorvekInstrBoardSheet {
 public:
  CWSorvekInstrAD9082Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs = 4, int appRcvrs = 4);
};

class CWSorvekInstrAD9361Sheet : public CWSorvekInstrBoardSheet {
 public:
  CWSorvekInstrAD9361Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs = 4, int appRcvrs = 4);
};

class CWSorvekInstrAD9371Sheet : public CWSorvekInstrBoardSheet {
 public:
  CWSorvekInstrAD9371Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs = 4, int appRcvrs = 4);
};

class CWSorvekInstrADRV9009Sheet : public CWSorvekInstrBoardSheet {
 public:
  CWSorvekInstrADRV9009Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs = 4, int appRcvrs = 4);
};
