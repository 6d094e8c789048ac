#include "core/error_dialog.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/text.h"

namespace {

std::atomic<int> g_reportCounter{1};

std::mutex g_presenterMutex;
CQErrorPresenter g_presenter;

void AppendSplit(std::vector<std::wstring>& lines, const std::wstring& text) {
  size_t start = 0;
  for (;;) {
    const size_t lf = text.find(L'\n', start);
    if (lf == std::wstring::npos) {
      lines.push_back(text.substr(start));
      return;
    }
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
}

}  // namespace

void PresentErrorOnStderr(CQErrorDlg& dlg) {
  dlg.OnShowDetails();
  std::string text = "Lumvard Sorvek: " + lv::WideToUtf8(CQErrorDlg::kCaption) + "\n";
  for (const auto& line : dlg.Lines()) {
    text += "  " + lv::WideToUtf8(line) + "\n";
  }
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

CQErrorDlg::CQErrorDlg(CQError* ownedCopy) : error_(ownedCopy != nullptr ? ownedCopy : new CQError(0)) {}

void CQErrorDlg::ShowMessage() {
  lines_.clear();
  if (const wchar_t* msg = error_->GetMessage()) {
    AppendSplit(lines_, msg);
  } else {
    lines_.emplace_back(L"No error information");
  }
}

void CQErrorDlg::OnInitDialog() { ShowMessage(); }

void CQErrorDlg::OnShowDetails() {
  ShowMessage();
  const char* stack = error_->GetCallStack();
  if (stack == nullptr) {
    return;
  }
  lines_.emplace_back(L" ");
  lines_.emplace_back(L"Call stack:");
  // Each byte of the narrow call stack becomes one character.
  AppendSplit(lines_, lv::Latin1ToWide(stack));
}

void CQErrorDlg::OnWriteToFile() {
  const int number = g_reportCounter.fetch_add(1);
  const std::wstring name = lv::FormatCW(L"Error Details %d.txt", number);
  const bool written = error_->WriteToFile(name.c_str());
  lines_.clear();
  lines_.emplace_back(written ? L"Error details written to the file:"
                              : L"The error details could not be written to the file:");
  lines_.push_back(name);
}

CQErrorPresenter SetErrorPresenter(CQErrorPresenter presenter) {
  std::lock_guard<std::mutex> lock(g_presenterMutex);
  CQErrorPresenter previous = std::move(g_presenter);
  g_presenter = std::move(presenter);
  return previous;
}

void ShowErrorDialog(CQError* error) {
  try {
    CQErrorDlg dlg(error != nullptr ? error->MakeCopy() : nullptr);
    dlg.OnInitDialog();
    CQErrorPresenter presenter;
    {
      std::lock_guard<std::mutex> lock(g_presenterMutex);
      presenter = g_presenter;
    }
    if (presenter) {
      presenter(dlg);
    } else {
      PresentErrorOnStderr(dlg);
    }
  } catch (CQError* e) {
    delete e;  // showing an error must not raise another
  } catch (...) {
  }
  delete error;
}

int NextErrorReportNumber() { return g_reportCounter.load(); }

void ResetErrorReportNumberForTesting(int next) { g_reportCounter.store(next); }
