// The error dialog's window: the dialog template "ErrorDialog" built on the
// platform layer's dialogs, driving the content logic of CQErrorDlg.
//
// InstallErrorDialogWindow makes ShowErrorDialog show this window from any
// thread (a worker waits for it through the modal bridge), and makes a
// failing dialog handler's CQError reach the error dialog too. Without a
// window system (no application object, or the GUI runtime not started or
// already shut down) the errors still go to standard error.
#pragma once

#include "core/error_dialog.h"
#include "platform/gui/dialog.h"

// The control ids of "ErrorDialog".
inline constexpr int kErrorListId = 1001;
inline constexpr int kErrorOkId = 1002;
inline constexpr int kErrorShowDetailsId = 1003;
inline constexpr int kErrorWriteToFileId = 1004;

// Caption "An Error Occurred", 316 x 165 dialog units.
const lv::DialogTemplate& ErrorDialogTemplate();

class CWErrorDialogWindow : public lv::Dialog {
 public:
  // content: prepared by CQErrorDlg::OnInitDialog; outlives the window.
  explicit CWErrorDialogWindow(CQErrorDlg& content);

  // Whether the window was ever built (false when no window could show).
  bool WasShown() const { return shown_; }

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;

 private:
  void FillList();

  CQErrorDlg& content_;
  bool shown_ = false;
};

// Installs the window as the presenter of ShowErrorDialog and a CQError
// thrown by a dialog handler as an error to show. Call once the Qt
// application object exists; returns false (and changes nothing) without a
// window system.
bool InstallErrorDialogWindow();
// Back to the standard-error presenter (tests).
void UninstallErrorDialogWindow();
