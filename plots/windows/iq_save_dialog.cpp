#include "plots/windows/iq_save_dialog.h"

#include <filesystem>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/typed_save_dialog.h"
#include "plots/windows/iq_save.h"
#include "plots/windows/time_domain_model.h"

std::wstring CWPlotCTDSaveFileDlg::DoModal() const {
  lv::TypedSaveDialogOptions o;
  o.file.title = L"Save IQ Data";
  o.file.filters = {
      {L"All Supported Files", L"*.iqbin;*.iqtxt;*.wvd;*.wv;*.txt"},
      {L"IQBin Files", L"*.iqbin"},
      {L"IQTxt Files", L"*.iqtxt"},
      {L"R&S wvd File", L"*.wvd"},
      {L"R&S wv File", L"*.wv"},
      {L"ADI VSA txt Files", L"*.txt"},
  };
  o.selectedFilter = 1;
  const std::filesystem::path folder = folder_.empty() ? std::filesystem::current_path() : std::filesystem::path(folder_);
  o.file.initialPath = (folder / kInitialName).wstring();
  o.onTypeChange = [](int index, const std::wstring& name) { return IQSaveNameForFilter(name, index); };
  return lv::ShowTypedSaveFileDialog(o);
}

bool RunSaveIQDataCommand(const CWTimeDomainModel& model, bool plotHasData, const std::wstring& folder) {
  const std::wstring path = CWPlotCTDSaveFileDlg(folder).DoModal();
  if (path.empty()) {
    return false;
  }
  try {
    model.SaveIQDataToFile(path.c_str(), plotHasData);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotCTDWndw::OnPopupMenuSaveIQData");
    ShowErrorDialog(e);
    return false;
  }
}
