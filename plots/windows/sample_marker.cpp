#include "plots/windows/sample_marker.h"

#include <cmath>

int64_t NearestGridIndex(double x, double origin, double step) {
  double k = (x - origin) / step;
  k = k > 0.0 ? k + 0.5 : k - 0.5;
  // Beyond +-2^62 (or not a number) the position lies outside any data.
  constexpr double kLimit = 4611686018427387904.0;
  if (!(k < kLimit)) {
    return k != k ? INT64_MIN : INT64_MAX;
  }
  if (k <= -kLimit) {
    return INT64_MIN;
  }
  return static_cast<int64_t>(k);  // truncation towards zero
}

int64_t SteppedGridIndex(double x, double origin, double gridStep, int32_t step, int32_t count) {
  int64_t k = NearestGridIndex(x, origin, gridStep);
  if (k > INT64_MIN && k < INT64_MAX) {
    k += step;
  }
  if (k < 0) {
    k = 0;
  }
  if (k > count - 1) {
    k = count - 1;
  }
  return k;
}
