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

#include <string>

#include "platform/gui/dialog.h"

struct CQFileInfo;

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
