#include "plots/windows/image_file_name.h"

#include <cwctype>

namespace {

bool EndsWithAny(const std::wstring& name, std::initializer_list<const wchar_t*> known) {
  std::wstring lower = name;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  for (const wchar_t* ext : known) {
    const std::wstring e(ext);
    if (lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0) return true;
  }
  return false;
}

}  // namespace

std::wstring AskImageFileName(const lv::FileDialogOptions& options, std::initializer_list<const wchar_t*> known) {
  std::wstring name = lv::ShowSaveFileDialog(options);
  if (!name.empty() && !EndsWithAny(name, known)) name += L"." + options.defaultExtension;
  return name;
}
