// The information message of the settings dialogs, in a file of its own: the
// message-box header and the dialog header both name the standard answers.
#include <string>

#include "platform/gui/dialogs.h"

namespace lv_plot_dlg {

void ShowInformation(const std::wstring& text) {
  lv::ShowMessageBox(text, L"Information", lv::MessageSeverity::kInformation, lv::MessageButtons::kOk);
}

}  // namespace lv_plot_dlg
