// Saving a waveform as an IQ file: one writer, chosen by the final extension
// of the file name (".iqbin", ".iqtxt", ".wvd" or ".wvh", ".wv", ".txt";
// upper or lower case), writes the whole waveform into one format. A name
// that ends in none of them, or an empty waveform, is refused with a message
// and nothing is written.
#pragma once

#include <string>

class CQCArrayTD;

enum class IQSaveFormat { kNone, kIQBin, kIQTxt, kRSWvdh, kRSWv, kADIVSATxt };

// The format of a path by the extension of its file-name part (after the last
// '/' and its last '.'); kNone without one or for any other.
IQSaveFormat IQSaveFormatOf(const wchar_t* path);

// Writes the samples, rate and centre frequency of input to path in the
// format of its extension. Failures are CQError* with "SaveIQData" appended.
void SaveIQData(const CQCArrayTD* input, const wchar_t* path);

// The save dialog's type list, in order (index 1 is "All Supported Files").
// The extension (with the dot) a file-type index gives a typed name; empty for
// index 1 and for any index beyond the list.
std::wstring IQSaveExtensionOfFilter(int filterIndex);
// What the name box holds after the user chose filter index: unchanged for
// index 1, an empty name or an index without an extension; otherwise the
// name without its extension (from its last '.') plus the type's extension.
std::wstring IQSaveNameForFilter(const std::wstring& name, int filterIndex);

inline constexpr const char* kIQSaveNoDataMessage = "There is no IQ data to save.";
inline constexpr const char* kIQSaveUnknownTypeMessage =
    "The file name must end in .iqbin, .iqtxt, .wvd, .wvh, .wv or .txt to choose the format of the IQ file.";
