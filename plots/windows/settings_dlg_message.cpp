// The information message of the settings dialogs: a CQMessageBox of
// severity 0 ("Information").
#include <string>

#include "platform/text.h"
#include "plots/windows/value_window.h"

namespace lv_plot_dlg {

void ShowInformation(const std::wstring& text) {
  const CQMessageBox box(0, lv::WideToUtf8(text).c_str());
  box.Show(nullptr);
}

}  // namespace lv_plot_dlg
