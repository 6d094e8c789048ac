// The open-file dialog through which the board transmitter pages and the
// AD9081 single-file dialog choose an IQ file (BrowseIQFileIntoField in
// value_display.h runs it for a file field).
#pragma once

#include <string>

// The filter list, "name|patterns|" pairs ending in "||".
extern const wchar_t* const kIQFileDialogFilter;

// Asks the user for an existing IQ file; "" when cancelled.
std::wstring BrowseForIQFile();
