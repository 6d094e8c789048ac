// Platform-internal: what every file dialog of the layer sets on its Qt
// dialog. Only platform/ includes this header.
#pragma once

class QFileDialog;

namespace lv::gui_internal {

// Gives the dialog file types and icons from names and kinds alone. Qt's
// default provider reads each listed file's first bytes to guess its type,
// on the GUI thread: a named pipe in the folder shown (common in /tmp)
// blocks that read, and the whole program with it.
void KeepFileDialogFromReadingFiles(QFileDialog* dialog);

}  // namespace lv::gui_internal
