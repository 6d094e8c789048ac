#include "core/gui/error_window.h"

#include <exception>

#include "core/error.h"
#include "platform/gui/gui_runtime.h"

namespace {

lv::DialogTemplate MakeTemplate() {
  using lv::ControlKind;
  lv::DialogTemplate t;
  t.name = "ErrorDialog";
  t.caption = CQErrorDlg::kCaption;
  t.width = 316;
  t.height = 165;
  t.controls = {
      {kErrorListId, ControlKind::kListBox, L"", 6, 6, 300, 114,
       lv::kStyleBorder | lv::kStyleVScroll | lv::kStyleHScroll | lv::kStyleNoSelection |
           lv::kStyleNoIntegralHeight | lv::kStyleNotify | lv::kStyleTabStop},
      {kErrorOkId, ControlKind::kDefPushButton, L"OK", 126, 132, 60, 18, lv::kStyleTabStop},
      {kErrorShowDetailsId, ControlKind::kPushButton, L"Show Details", 240, 126, 60, 12, lv::kStyleTabStop},
      {kErrorWriteToFileId, ControlKind::kPushButton, L"Write to File", 240, 144, 60, 12, lv::kStyleTabStop},
  };
  return t;
}

// One list entry holds at most 1023 characters, as the list's line buffer
// did; longer lines are cut there.
constexpr size_t kMaxEntry = 1023;

}  // namespace

const lv::DialogTemplate& ErrorDialogTemplate() {
  static const lv::DialogTemplate t = MakeTemplate();
  return t;
}

CWErrorDialogWindow::CWErrorDialogWindow(CQErrorDlg& content) : lv::Dialog(ErrorDialogTemplate()), content_(content) {}

void CWErrorDialogWindow::FillList() {
  ResetContent(kErrorListId);
  for (const auto& line : content_.Lines()) {
    AddString(kErrorListId, line.size() > kMaxEntry ? std::wstring_view(line).substr(0, kMaxEntry) : line);
  }
}

bool CWErrorDialogWindow::OnInitDialog() {
  shown_ = true;
  SetHorizontalExtent(kErrorListId, CQErrorDlg::kListBoxExtentPixels);
  FillList();
  return true;
}

void CWErrorDialogWindow::OnButtonClicked(int id) {
  switch (id) {
    case kErrorOkId:
      EndDialog(lv::kIdOk);
      break;
    case kErrorShowDetailsId:
      content_.OnShowDetails();
      FillList();
      break;
    case kErrorWriteToFileId:
      content_.OnWriteToFile();
      FillList();
      break;
    default:
      lv::Dialog::OnButtonClicked(id);
      break;
  }
}

namespace {

void PresentInWindow(CQErrorDlg& content) {
  if (!lv::WindowSystemAvailable() || !lv::IsGuiRuntimeStarted()) {
    PresentErrorOnStderr(content);
    return;
  }
  CWErrorDialogWindow window(content);
  window.DoModal();
  if (!window.WasShown()) {  // the windows are closing: keep the report
    PresentErrorOnStderr(content);
  }
}

// A CQError that escaped a dialog handler is shown like any other.
void ShowHandlerFailure(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (CQError* e) {
    ShowErrorDialog(e);
  } catch (const std::exception& e) {
    ShowErrorDialog(new CQError(e.what()));
  } catch (...) {
    ShowErrorDialog(new CQError("Unknown error in a dialog."));
  }
}

}  // namespace

bool InstallErrorDialogWindow() {
  if (!lv::WindowSystemAvailable()) {
    return false;
  }
  SetErrorPresenter(PresentInWindow);
  lv::SetDialogFailureHook(ShowHandlerFailure);
  return true;
}

void UninstallErrorDialogWindow() {
  SetErrorPresenter(nullptr);
  lv::SetDialogFailureHook(nullptr);
}
