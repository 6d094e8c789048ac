// The error dialog's content and the report file.
//
// CQErrorDlg holds a copy of the error and the lines of its list box; its
// buttons are the methods below. How the lines reach the user is up to the
// installed presenter: the windowed program shows a modal dialog, a program
// without a window system writes them to standard error.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/error.h"

class CQErrorDlg {
 public:
  // Takes ownership of the copy (a null error becomes an empty one).
  explicit CQErrorDlg(CQError* ownedCopy);

  static constexpr const wchar_t* kCaption = L"An Error Occurred";
  static constexpr int kListBoxExtentPixels = 800;

  // Prepares the list box: shows the message.
  void OnInitDialog();
  // "Show Details": the message, " ", "Call stack:" and the call-stack lines.
  void OnShowDetails();
  // "Write to File": writes "Error Details %d.txt" in the current folder.
  void OnWriteToFile();

  const std::vector<std::wstring>& Lines() const { return lines_; }
  const CQError& Error() const { return *error_; }

 private:
  void ShowMessage();

  std::unique_ptr<CQError> error_;
  std::vector<std::wstring> lines_;
};

// Shows the error to the user and deletes it. The caller gives the error up.
void ShowErrorDialog(CQError* error);

// How ShowErrorDialog presents a prepared dialog (OnInitDialog already run).
// The presenter runs on the calling thread and returns when the user has
// closed the dialog. Returns the previous presenter. Null restores the
// default, which writes the message and the call stack to standard error.
using CQErrorPresenter = std::function<void(CQErrorDlg&)>;
CQErrorPresenter SetErrorPresenter(CQErrorPresenter presenter);
// The default presentation: the message and the call stack on standard error
// (also what a windowed presenter falls back to without a window system).
void PresentErrorOnStderr(CQErrorDlg& dlg);

// The number the next "Error Details %d.txt" gets (process-wide, from 1).
int NextErrorReportNumber();
// Tests only: restarts the numbering.
void ResetErrorReportNumberForTesting(int next = 1);
