// CWSorvekInstrAD9081Dlg, "AD9081 Single File": plays one IQ file out of any
// of the four DACs of an AD9081 board in one step. The user picks one file,
// ticks the DACs that play it and gives each its centre frequency in MHz and,
// when its box is ticked, a time delay (nsec), phase rotation (degrees) and
// gain (dB).
//
// The dialog keeps nothing but its file description. Showing it reads the
// first transmitter file the data manager holds (data-manager get 6), the
// instrument manager's settings (get 1, a copy) and the engine's processing
// record of each transmitter (engine get 3, a copy). Apply starts from a copy
// of the instrument manager's settings and of each engine record, changes
// only what the dialog edits and sends them back one transmitter after the
// other (data-manager sets 6 and 1, engine set 3), the transceiver settings
// last (set 1, every group the live record had flagged). A centre frequency,
// delay, phase or gain whose text is not a number keeps the value held.
//
// Use by the main window (GUI thread): construct with the three threads
// (which must outlive the dialog's use) and the application's transmitter
// and receiver counts; Create() once at start-up builds the hidden window;
// ShowWindow(true) on its command shows it and reads the current state.
// "Close", Escape and the close box only hide it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "platform/gui/dialog.h"
#include "platform/gui/dialog_template.h"
#include "xcvr/gui/value_display.h"

class CWUIThread;

// The engine's request id for a transmitter's processing record (index =
// transmitter): get answers a copy the requester deletes, set copies it.
inline constexpr int32_t kAD9081DlgEngineProcessingParam = 3;

// Control ids of template 139.
enum : int {
  kIdcAD9081DlgFileName = 1363,
  kIdcAD9081DlgBrowse = 1364,
  kIdcAD9081DlgTotalTime = 1365,
  kIdcAD9081DlgTotalTimeUnits = 1366,
  kIdcAD9081DlgPoints = 1367,
  kIdcAD9081DlgSampleRate = 1368,
  kIdcAD9081DlgSampleRateUnits = 1369,
  kIdcAD9081DlgApplyAndClose = 1399,
  kIdcAD9081DlgApply = 1397,
  kIdcAD9081DlgClose = 1398,
};

// The controls of DAC k (0 to 3).
struct CQAD9081DacIds {
  int use;
  int centerFreq;
  int shiftTime;
  int timeDelay;
  int rotatePhase;
  int phase;
  int applyGain;
  int gain;
};
const CQAD9081DacIds& AD9081DacIds(int dac);

lv::DialogTemplate AD9081SingleFileTemplate();

class CWSorvekInstrAD9081Dlg : public lv::Dialog {
 public:
  CWSorvekInstrAD9081Dlg(CWUIThread* instr, CWUIThread* dataMgr, CWUIThread* engine, int appXmtrs = 4,
                         int appRcvrs = 4);
  ~CWSorvekInstrAD9081Dlg() override;

  void ShowWindow(bool show);
  void OnShowWindow(bool show);
  // Apply; false when an error was shown.
  bool OnApplyButton();
  bool ShowFileParameters(const wchar_t* name, bool report);
  void OnBrowse();
  void SetBringOwnerToFront(std::function<void()> call) { bringOwnerToFront_ = std::move(call); }
  const CQFileInfo& FileInfo() const { return *fileInfo_; }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void Hide();

  int appXmtrs_;
  int appRcvrs_;
  CWUIThread* instr_;
  CWUIThread* dataMgr_;
  CWUIThread* engine_;
  std::unique_ptr<CQFileInfo> fileInfo_;
  std::function<void()> bringOwnerToFront_;
};
