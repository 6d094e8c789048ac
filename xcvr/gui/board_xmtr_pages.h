// The transmitter pages of the board settings sheets: one page per
// transmitter of the board. A page shows and edits one transmitter record of
// the transceiver settings (whether the transmitter is used, and its
// attenuation or, on the AD9081 and AD9082 boards, its centre frequency) and
// the name of the IQ file it plays, which the data manager keeps. Choosing a
// file shows what it holds: total time, number of points and sample rate,
// read from the file's header on this thread with the format's own reader.
//
// Four classes share one body: CWSorvekInstrAD9081XmtrPage (template 125,
// AD9081 and AD9082), CWSorvekInstrAD9361XmtrPage (129),
// CWSorvekInstrAD9371XmtrPage (138) and CWSorvekInstrADRV9009XmtrPage (119).
// The file name travels through blocking requests to the data-manager thread
// (parameter 6, index = the page's transmitter). Everything runs on the GUI
// thread.
#pragma once

#include <memory>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "platform/gui/dialog_template.h"
#include "platform/gui/property_sheet.h"
#include "workers/gui/units_button.h"
#include "xcvr/gui/value_display.h"

class CWUIThread;
struct CQInstrXmtrSettings;

// Control ids of the transmitter page templates.
enum : int {
  // 125 (AD9081 and AD9082)
  kIdcAD9081XmtrDac = 1341,
  kIdcAD9081XmtrUse = 1229,
  kIdcAD9081XmtrFreq = 1241,
  kIdcAD9081XmtrFreqUnits = 1242,
  kIdcAD9081XmtrFileName = 1232,
  kIdcAD9081XmtrBrowse = 1233,
  kIdcAD9081XmtrTotalTime = 1234,
  kIdcAD9081XmtrTotalTimeUnits = 1235,
  kIdcAD9081XmtrPoints = 1236,
  kIdcAD9081XmtrSampleRate = 1237,
  kIdcAD9081XmtrSampleRateUnits = 1238,
  // 129 (AD9361 family)
  kIdcAD9361XmtrUse = 1274,
  kIdcAD9361XmtrAtten = 1276,
  kIdcAD9361XmtrFileName = 1277,
  kIdcAD9361XmtrBrowse = 1278,
  kIdcAD9361XmtrTotalTime = 1279,
  kIdcAD9361XmtrTotalTimeUnits = 1280,
  kIdcAD9361XmtrPoints = 1281,
  kIdcAD9361XmtrSampleRate = 1282,
  kIdcAD9361XmtrSampleRateUnits = 1283,
  // 138 (AD9371)
  kIdcAD9371XmtrUse = 1332,
  kIdcAD9371XmtrAtten = 1333,
  kIdcAD9371XmtrFileName = 1334,
  kIdcAD9371XmtrBrowse = 1335,
  kIdcAD9371XmtrTotalTime = 1336,
  kIdcAD9371XmtrTotalTimeUnits = 1337,
  kIdcAD9371XmtrPoints = 1338,
  kIdcAD9371XmtrSampleRate = 1339,
  kIdcAD9371XmtrSampleRateUnits = 1340,
  // 119 (ADRV9009)
  kIdcADRV9009XmtrUse = 1185,
  kIdcADRV9009XmtrAtten = 1187,
  kIdcADRV9009XmtrFileName = 1115,
  kIdcADRV9009XmtrBrowse = 1116,
  kIdcADRV9009XmtrTotalTime = 1188,
  kIdcADRV9009XmtrTotalTimeUnits = 1189,
  kIdcADRV9009XmtrPoints = 1190,
  kIdcADRV9009XmtrSampleRate = 1191,
  kIdcADRV9009XmtrSampleRateUnits = 1192,
};

lv::DialogTemplate AD9081XmtrPageTemplate();
lv::DialogTemplate AD9361XmtrPageTemplate();
lv::DialogTemplate AD9371XmtrPageTemplate();
lv::DialogTemplate ADRV9009XmtrPageTemplate();

// What differs between the four pages.
struct CQXmtrPageLayout {
  const char* className;  // for call stacks ("CWSorvekInstrAD9361XmtrPage")
  bool frequencyField;    // centre frequency with a unit button (else attenuation)
  int use;
  int number;             // the attenuation or centre-frequency edit
  int numberUnits;        // the unit button's placeholder (0: none)
  int dacLabel;           // the "DAC %d" static (0: none)
  int fileName;
  int browse;
  CQFileDisplayIds display;
};

class CWSorvekInstrXmtrPage : public lv::PropertyPage {
 public:
  // index: the transmitter (from 0); dataMgr: the data-manager thread, which
  // must outlive the page's use (null: the file name is neither read nor sent).
  CWSorvekInstrXmtrPage(lv::DialogTemplate tmpl, const CQXmtrPageLayout& layout, int index, CWUIThread* dataMgr);
  ~CWSorvekInstrXmtrPage() override;

  // Shows the record and the data manager's file name for this transmitter
  // (with its file description, errors not reported); ends unmodified.
  // Errors go to the error dialog. A null record does nothing.
  void RefreshSettings(const CQInstrXmtrSettings* record);
  // The label of the number field when its text is not a number, else "".
  std::wstring FirstBadField() const;
  // Takes the on flag and the number into the record (a number that does not
  // parse keeps the record's value; the sheet refuses OK before that) and
  // sends the file name to the data manager, also when it is empty. Fields
  // the page does not show keep the record's values. A null record does
  // nothing; errors go to the error dialog.
  void GetSettings(CQInstrXmtrSettings* record);
  // Describes the file and shows it; with report, errors are shown in the
  // error dialog, otherwise dropped. False when the file could not be
  // described.
  bool ShowFileParameters(const wchar_t* name, bool report);
  // The Browse button: an open-file dialog; a chosen file's path goes into
  // the file-name edit, is described (errors reported) and marks the page
  // modified. A file that cannot be described leaves the previous name.
  void OnBrowse();

  int Index() const { return index_; }
  const CQXmtrPageLayout& Layout() const { return layout_; }
  const CQFileInfo& FileInfo() const { return *fileInfo_; }
  // The AD9081 page's frequency unit button (null on the others).
  CWUnitsButton* FrequencyUnits() { return freqUnits_.get(); }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;

 private:
  std::string Name(const char* operation) const;

  CQXmtrPageLayout layout_;
  int index_;
  CWUIThread* dataMgr_;
  std::unique_ptr<CQFileInfo> fileInfo_;
  std::unique_ptr<CWUnitsButton> freqUnits_;
  int32_t freqCode_ = 0;
};

class CWSorvekInstrAD9081XmtrPage : public CWSorvekInstrXmtrPage {
 public:
  CWSorvekInstrAD9081XmtrPage(int index, CWUIThread* dataMgr);
};
class CWSorvekInstrAD9361XmtrPage : public CWSorvekInstrXmtrPage {
 public:
  CWSorvekInstrAD9361XmtrPage(int index, CWUIThread* dataMgr);
};
class CWSorvekInstrAD9371XmtrPage : public CWSorvekInstrXmtrPage {
 public:
  CWSorvekInstrAD9371XmtrPage(int index, CWUIThread* dataMgr);
};
class CWSorvekInstrADRV9009XmtrPage : public CWSorvekInstrXmtrPage {
 public:
  CWSorvekInstrADRV9009XmtrPage(int index, CWUIThread* dataMgr);
};
