// The connection dialog, "Instrument Connection": the board model and how to
// reach it, over the network at an IPv4 address or over USB (the first board
// found).
//
// How the main window uses it (all on the GUI thread):
//   CWUIInstrMultiConnDlg dlg(4);          // the main window's transmitter count
//   dlg.Create();                          // once, at the main window's creation: hidden
//   dlg.SetInstrThread(&instrThread);      // before the first showing
//   dlg.SetForegroundHook([&] { ... });    // what "bring the main window to the front" does
//   dlg.ShowWindow(true);                  // the menu command
// The dialog is modeless and keeps no settings of its own. Every showing
// reads the instrument manager's current settings (get request 1, a copy the
// dialog owns) and shows their model, connection type and address. Apply
// (or Enter) sends a settings object with only the model and connection
// groups flagged (set request 1), which the instrument thread merges into
// its requested settings; the new connection takes effect at the next
// transmit. Apply then hides the dialog. Close, Escape and the close box
// only hide it. An error of either request is shown in the error dialog and
// the dialog stays open and usable.
//
// What is stored is what is shown: the boards reached only over the network
// show (and store) "IIO over LAN" whatever was chosen; only the ADALM-Pluto
// may use USB. The address field is enabled while "IIO over LAN" is shown. A
// stored address with a port ("192.168.2.1:30431", as a settings file may
// hold) shows its four numbers, and Apply writes the four fields back with
// that port kept.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_template.h"

class CWInstrIIOMultiXcvrMgrThread;

// Control ids of template "INSTR_MULTI_CONN_DIALOG".
enum : int {
  kIdcInstrConnModel = 1115,
  kIdcInstrConnIpAddress = 1116,
  kIdcInstrConnApply = 1117,
  kIdcInstrConnClose = 1118,
  kIdcInstrConnType = 1119,
};

// The dialog template "INSTR_MULTI_CONN_DIALOG".
lv::DialogTemplate InstrMultiConnDlgTemplate();

// The model list: entries 0..8 and the model code each stands for.
inline constexpr int kInstrConnModelEntries = 9;
// The text of a model entry ("" outside 0..8).
const wchar_t* InstrConnModelText(int entry);
// The model code of an entry (12, FMCOMMS3, for no or an unknown entry).
int32_t InstrConnModelOfEntry(int entry);
// The entry of a model code (0 for a code not in the list).
int InstrConnEntryOfModel(int32_t model);
// The connection type shown, and stored, for a model and a chosen type: the
// boards reached over the network show type 1; the ADALM-Pluto keeps 1 or 4
// and shows any other type as 4; other codes keep their type.
int32_t InstrConnShownType(int32_t model, int32_t type);
// The port part (":30431") of a stored address, "" when it has none.
std::wstring InstrConnPortOf(const wchar_t* address);
// The four fields of a stored address, packed (first number in the highest
// byte): up to four "%u" numbers separated by full stops, each modulo 256;
// reading stops at the first that does not parse or when no full stop
// follows; missing numbers are 0.
uint32_t InstrConnParseAddress(const wchar_t* address);

class CWUIInstrMultiConnDlg : public lv::Dialog {
 public:
  // transmitters: the main window's transmitter count (for the settings
  // object Apply sends); the dialog has no receivers.
  explicit CWUIInstrMultiConnDlg(int transmitters);
  ~CWUIInstrMultiConnDlg() override;

  // Builds the hidden window (GUI thread). False, and the error dialog, when
  // it cannot.
  bool Create();
  void SetInstrThread(CWInstrIIOMultiXcvrMgrThread* thread) { instrThread_ = thread; }
  CWInstrIIOMultiXcvrMgrThread* InstrThread() const { return instrThread_; }
  // Called where the main window is to come to the foreground (when the
  // dialog hides itself).
  void SetForegroundHook(std::function<void()> hook) { foreground_ = std::move(hook); }

  // Shows the dialog with the instrument manager's current choice, or hides
  // it.
  void ShowWindow(bool show);
  void OnShowWindow(bool show);
  // Sends the model and connection to the instrument thread and hides the
  // dialog; on an error shows it and stays open.
  void OnApplyButton();
  // Brings the main window to the foreground and hides the dialog.
  void OnClose();

  int Transmitters() const { return numXmtrs_; }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOK() override {}
  void OnCancel() override { OnClose(); }

 private:
  // The connection list to what would be stored, and the address field
  // enabled with "IIO over LAN".
  void ShowConnectionType(int32_t model, int32_t type);
  void Hide();

  int numXmtrs_;
  int numRcvrs_ = 0;
  CWInstrIIOMultiXcvrMgrThread* instrThread_ = nullptr;
  std::function<void()> foreground_;
  // The port of the address last shown (kept by Apply), "" when none.
  std::wstring port_;
};
