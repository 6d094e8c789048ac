// A save-file dialog that follows the file type the user picks: whenever
// another entry of the type list is chosen, a callback gets the entry's
// 1-based index and the name in the name box and returns the name to put
// there (for example the same name with the type's extension). Through the
// modal bridge, like the other file dialogs (dialogs.h).
#pragma once

#include <functional>
#include <string>

#include "platform/gui/dialogs.h"

namespace lv {

struct TypedSaveDialogOptions {
  FileDialogOptions file;  // title, filters, initial path (a file name fills the name box)
  int selectedFilter = 1;  // 1-based entry of file.filters chosen at the start
  // Runs on the GUI thread while the dialog is open; must not block.
  std::function<std::wstring(int filterIndex, const std::wstring& name)> onTypeChange;
};

// The chosen path, or "" when cancelled. Choosing an existing file asks
// before it is replaced.
std::wstring ShowTypedSaveFileDialog(const TypedSaveDialogOptions& options);

namespace test_hooks {
// Answers the next typed save dialog as a person would: types the name into
// the name box, picks the type entry (1-based; 0 leaves the type alone), then
// saves (accept) or cancels. With asTyped false the name reaches the box
// without typing (as a file clicked in the list or a completion puts it there).
void PushTypedSaveAnswer(const std::wstring& typedPath, int filterIndex, bool accept, bool asTyped = true);
}  // namespace test_hooks

}  // namespace lv
