// CWSampleMarker: the marker of the time-domain and spectrum windows as their
// snapping and stepping rules see it. The windows copy it from and back to the
// tool window's marker fields around each rule.
#pragma once

#include <cstdint>

struct CWSampleMarker {
  bool on = false;
  bool twoValues = false;  // the read-out shows first and second (I and Q)
  double x = 0.0;
  double value = 0.0;
  float first = 0.0f;
  float second = 0.0f;
};

// The index of x on the grid origin + k * step, rounded half away from zero
// (the caller checks step > 0). Far-off positions saturate instead of
// overflowing, so they still count as outside the data.
int64_t NearestGridIndex(double x, double origin, double step);

// The rounded index of the marker plus step, clamped to 0 .. count - 1.
int64_t SteppedGridIndex(double x, double origin, double gridStep, int32_t step, int32_t count);
