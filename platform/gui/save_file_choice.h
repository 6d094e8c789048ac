// A save-file dialog that also tells which filter the user chose, for saves
// whose format follows the filter (plot images). Through the modal bridge,
// from any thread; with the test hook that answers it.
#pragma once

#include <string>

#include "platform/gui/dialogs.h"

namespace lv {

struct SaveFileChoice {
  std::wstring path;     // "" when cancelled
  int filterIndex = -1;  // index into the options' filters; -1 when none
};

// The dialog opens with filter selectedFilter chosen (when it exists) and
// the initial path's name typed in. No extension is added to the typed name:
// the caller decides. With overwritePrompt, choosing an existing file asks
// before it is replaced.
SaveFileChoice ShowSaveFileDialogWithFilter(const FileDialogOptions& options, int selectedFilter,
                                            bool overwritePrompt);

namespace test_hooks {
// Answers the next file dialog: chooses filter filterIndex (-1 leaves the
// selected one) and types the name, as a person would ("" cancels).
void PushFileAnswerWithFilter(const std::wstring& path, int filterIndex);
}  // namespace test_hooks

}  // namespace lv
