// Showing numbers with their units in dialog fields, and the description of
// an IQ file (total time, number of points, sample rate) that the board
// transmitter pages and the AD9081 single-file dialog display.
//
// The value helpers write a scaled number into a value control and its unit
// text into a unit control: the number with as many decimals as it needs
// (0 to 4), the unit chosen by the magnitude. A value that is not a finite
// number writes "0" and leaves the unit as it was. A null dialog does
// nothing. GUI thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_template.h"

struct CQFileInfo;

namespace lv_xcvr_gui {

// The styles of the board dialogs' fields: an edit typed into, and a
// read-only value aligned right.
inline constexpr uint32_t kEditStyle = lv::kStyleTabStop | lv::kStyleBorder | lv::kStyleHScroll;
inline constexpr uint32_t kReadOnlyStyle = lv::kStyleBorder | lv::kStyleReadOnly | lv::kStyleRight;

}  // namespace lv_xcvr_gui

void ShowTimeWithUnits(double seconds, lv::Dialog* dialog, int valueId, int unitId);
void ShowFrequencyWithUnits(double hertz, lv::Dialog* dialog, int valueId, int unitId);
void ShowSampleRateWithUnits(double samplesPerSecond, lv::Dialog* dialog, int valueId, int unitId);

// "1234567" -> "1,234,567": a comma before each group of three characters
// counted from the end, never before the first character.
std::wstring GroupThousands(const std::wstring& digits);

// The controls of one file display.
struct CQFileDisplayIds {
  int totalTime;
  int totalTimeUnits;
  int points;
  int sampleRate;
  int sampleRateUnits;
};

// Describes the file with the reader its name calls for and shows it:
// resets the display (total time 0, points "0"; the sample-rate fields keep
// what they showed), fills info through the reader, then shows points /
// rate, the points grouped by thousands and the rate. Throws a CQError for a
// name of no supported format ("The extension of the specified file does not
// match a supported file format.") and the readers' errors. A null name does
// nothing.
void DescribeIQFile(const wchar_t* name, lv::Dialog& dialog, const CQFileDisplayIds& ids, CQFileInfo& info);

// DescribeIQFile for a dialog's file field: true when the file was
// described. A failure is shown with where (the caller's name) when report
// is set and dropped otherwise.
bool ShowIQFileDescription(const wchar_t* name, bool report, const std::string& where, lv::Dialog& dialog,
                           const CQFileDisplayIds& ids, CQFileInfo& info);

// The Browse button of a file field: asks for an IQ file and describes it.
// A file that cannot be described is reported; the field then keeps its name
// and the display shows that file again. True when the field took the chosen
// name.
bool BrowseIQFileIntoField(lv::Dialog& dialog, int nameId, const std::string& where, const CQFileDisplayIds& ids,
                           CQFileInfo& info);
