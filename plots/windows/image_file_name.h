// The file name of Save Image in the image windows: the save dialog, and the
// chosen name completed with an image extension when it has none.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/gui/dialogs.h"

// Asks for the file with the window's title, filters, default extension and
// initial name; "" when cancelled. A name that does not end in one of known
// (".png" ..., any case, after at least one other character) gets "." and
// the default extension appended.
std::wstring AskImageFileName(const lv::FileDialogOptions& options, std::initializer_list<const wchar_t*> known);
