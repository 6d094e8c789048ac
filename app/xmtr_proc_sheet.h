// The transmitter-processing sheet: a modeless property sheet, "Transmitter
// Processing", with one page per transmitter ("Xmtr 1" ...). Each page edits
// the interpolation, decimation, frequency shift, time shift, phase rotation
// and gain of one transmitter's processing chain.
//
// The sheet keeps no settings of its own. Showing it reads every
// transmitter's record from the engine thread (get id 3); OK reads the
// engine's current record again, changes only the fields the pages edit and
// sends it back (set id 3), so the noise, filter, resampling, sample-limit
// and order settings the pages do not show are kept. A field whose text is
// not a number refuses OK with a message naming the field; nothing is sent
// and the page keeps the text for correcting. Cancel, Escape and the close
// box only hide the sheet.
//
// The sheet and its pages live on the GUI thread; the engine requests block
// it only for the engine's answer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/dialog_template.h"
#include "platform/gui/property_sheet.h"
#include "workers/gui/units_button.h"

class CQSampleRateMgrSettings;
class CWUIThread;

// Control ids of template 126.
enum : int {
  kIdcXmtrProcShiftFreq = 1245,
  kIdcXmtrProcFreq = 1246,
  kIdcXmtrProcFreqUnits = 1247,
  kIdcXmtrProcInterpolate = 1248,
  kIdcXmtrProcInterpRate = 1249,
  kIdcXmtrProcDecimate = 1250,
  kIdcXmtrProcDecimRate = 1251,
  kIdcXmtrProcTimeDelay = 1252,
  kIdcXmtrProcTimeUnits = 1253,
  kIdcXmtrProcShiftTime = 1254,
  kIdcXmtrProcPhase = 1255,
  kIdcXmtrProcRotatePhase = 1256,
  kIdcXmtrProcGain = 1257,
  kIdcXmtrProcApplyGain = 1258,
};

// Dialog template 126: one transmitter's processing page.
lv::DialogTemplate XmtrProcPageTemplate();

class CWSorvekXmtrProcPage : public lv::PropertyPage {
 public:
  // xmtrNumber: the transmitter's number from 1 (for messages).
  explicit CWSorvekXmtrProcPage(int xmtrNumber = 1);
  ~CWSorvekXmtrProcPage() override;

  // Shows a record: texts first (each ticks its box), then the stored flags;
  // the page ends unmodified. A null record does nothing.
  void RefreshSettings(const CQSampleRateMgrSettings* record);
  // Reads the fields into a record, touching only the fields the page edits.
  // Every number is parsed before anything is written: on a field that does
  // not parse, throws a CQError naming it and leaves the record as it was.
  // A null record does nothing.
  void GetSettings(CQSampleRateMgrSettings* record);
  // The first field that does not parse ("" when all do), as its label says.
  std::wstring FirstBadField() const;

  CWUnitsButton& FrequencyUnits() { return *freqUnits_; }
  CWUnitsButton& TimeUnits() { return *timeUnits_; }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;
  // OK and Apply: refused (with a message naming the field) while a field
  // does not parse.
  bool OnApply() override;

 private:
  void Tick(int checkId);

  std::unique_ptr<CWUnitsButton> freqUnits_;
  std::unique_ptr<CWUnitsButton> timeUnits_;
  int xmtrNumber_;
  // The units last shown or seen, so that only a real unit change ticks.
  int32_t freqCode_ = 0;
  int32_t timeCode_ = 0;
};

// The pages, held in a base that is built before the sheet's base and
// destroyed after it: the sheet's window (with every page widget) is gone
// before a page is deleted.
struct CWSorvekXmtrProcPages {
  std::vector<std::unique_ptr<CWSorvekXmtrProcPage>> procPages_;
};

class CWSorvekXmtrProcSheet : private CWSorvekXmtrProcPages, public lv::PropertySheet {
 public:
  // engine: the engine thread, which must outlive the sheet's use.
  CWSorvekXmtrProcSheet(int transmitters, CWUIThread* engine);
  ~CWSorvekXmtrProcSheet() override;

  // Builds the pages and the hidden modeless window (GUI thread). False and
  // an error dialog on failure.
  bool Create();
  // Shows the sheet (reading every transmitter from the engine) or hides it.
  void ShowWindow(bool show);
  void OnShowWindow(bool show);
  // Reads every transmitter's record from the engine into its page; stops at
  // the first that fails.
  void RefreshSettings();

  int Transmitters() const { return numXmtrs_; }
  CWSorvekXmtrProcPage* Page(int i) const;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  bool OnOKButton();

  int numXmtrs_;
  CWUIThread* engine_;
};
