#include "xcvr/gui/iq_file_browse.h"

#include <vector>

#include "platform/gui/dialogs.h"

namespace {

std::vector<lv::FileFilter> ParseFilter(const std::wstring& text) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start < text.size()) {
    const size_t bar = text.find(L'|', start);
    const size_t end = bar == std::wstring::npos ? text.size() : bar;
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  std::vector<lv::FileFilter> out;
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
    out.push_back({parts[i], parts[i + 1]});
  }
  return out;
}

}  // namespace

// The single-file waveform (.wv), which the data manager plays, is offered
// beside the formats of the header/data pairs and the system's own files.
const wchar_t* const kIQFileDialogFilter =
    L"All Files|*.iqbin;*.iqtxt;*.siqd;*.wvd;*.wv|IQBin Files|*.iqbin|IQTxt Files|*.iqtxt|Siqd Files|*.siqd|"
    L"RS wvd Files|*.wvd|RS wv Files|*.wv||";

std::wstring BrowseForIQFile() {
  lv::FileDialogOptions options;
  options.filters = ParseFilter(kIQFileDialogFilter);
  return lv::ShowOpenFileDialog(options);
}
