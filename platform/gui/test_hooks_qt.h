// Qt-side helpers of the test hooks, shared by the layer's files that answer
// their own dialogs by script. Private to platform/gui.
#pragma once

#include <string>

class QFileDialog;

namespace lv::test_hooks {

// Answers a shown file dialog as a person would: chooses filter filterIndex
// (-1 keeps the selected one), types the path and presses Open/Save. A name
// the dialog refuses cancels it, with the refusal on stderr.
void AnswerFileDialog(QFileDialog* dialog, const std::wstring& path, int filterIndex);

}  // namespace lv::test_hooks
