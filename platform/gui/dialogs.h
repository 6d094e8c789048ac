// The common modal things, each through the modal bridge (any thread; a
// worker waits for the answer, the GUI thread serves meanwhile; after the
// bridge has closed each returns its cancel answer at once), and the
// clipboard and image files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/command_ids.h"  // the answers of a message box

namespace lv {

enum class MessageSeverity : int32_t { kInformation, kQuestion, kWarning, kError };
enum class MessageButtons : int32_t { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel, kAbortRetryIgnore };

// A message box with the severity's icon, kept above other windows. Returns
// the pressed button's id; Escape and the close box give kIdCancel (kIdNo for
// a yes/no box, which has no cancel), as does a closed bridge.
int ShowMessageBox(const std::wstring& text, const std::wstring& caption, MessageSeverity severity,
                   MessageButtons buttons = MessageButtons::kOk);

// One entry of a file dialog's filter list.
struct FileFilter {
  std::wstring name;      // "IQ files"
  std::wstring patterns;  // "*.iqbin;*.bin"
};

struct FileDialogOptions {
  std::wstring title;
  std::vector<FileFilter> filters;
  std::wstring defaultExtension;  // without the dot; added to a name typed without one
  std::wstring initialPath;       // a folder or a file
};

// The chosen file (an existing one for open), or "" when cancelled.
std::wstring ShowOpenFileDialog(const FileDialogOptions& options);
// The chosen file name for a save, or "" when cancelled. Choosing an existing
// file asks before it is replaced.
std::wstring ShowSaveFileDialog(const FileDialogOptions& options);

// Puts a picture on the clipboard as SVG ("image/svg+xml", from the recording
// device context) and as a bitmap. Any thread; never waits.
void CopyPictureToClipboard(const std::string& svg, const Bitmap& bitmap);

// Writes the bitmap as an image file; the format comes from the extension:
// .bmp, .jpg/.jpeg, .png through Qt, .gif through giflib (at most 256
// colours: exact when the picture has that few, else a 6x7x6 colour cube).
// False when the format is unknown or the file cannot be written (nothing is
// left behind then).
bool SaveImageFile(const Bitmap& bitmap, const std::string& utf8Path);

}  // namespace lv
