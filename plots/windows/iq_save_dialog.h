// CWPlotCTDSaveFileDlg: the time-domain window's "Save IQ Data..." dialog. It
// starts with the name "IQ data.iqbin" and the type "All Supported Files", and
// when the user picks another type it gives the typed name that type's
// extension (IQSaveNameForFilter).
#pragma once

#include <string>

class CWTimeDomainModel;

class CWPlotCTDSaveFileDlg {
 public:
  static constexpr const wchar_t* kInitialName = L"IQ data.iqbin";

  // folder: where the dialog opens (empty: the current folder).
  explicit CWPlotCTDSaveFileDlg(std::wstring folder = std::wstring()) : folder_(std::move(folder)) {}
  // The chosen path; "" when cancelled.
  std::wstring DoModal() const;

 private:
  std::wstring folder_;
};

// The whole "Save IQ Data..." command: the dialog, then the save; an error
// (no data, a name no writer takes, a failed write) is shown in the error
// dialog and the window carries on. True when a file was written.
bool RunSaveIQDataCommand(const CWTimeDomainModel& model, bool plotHasData, const std::wstring& folder);
