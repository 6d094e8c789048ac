#include "core/spectral/spectrum_plan.h"

#include "core/error.h"
#include "core/numbers.h"
#include "core/spectral/dsp_window.h"

namespace lv_spectral {

void ClipFreqLimits(double sampleRate, double& start, double& stop) {
  if (start < -sampleRate / 2.0) start = -sampleRate / 2.0;
  if (stop > sampleRate / 2.0) stop = sampleRate / 2.0;
  if (!(start < stop)) throw new CQError("Invalid frequency limits.");
}

Segment SegmentForRBW(double sampleRate, int n, double rbw, int shape) {
  if (!(rbw > 0.0)) throw new CQError("Invalid resolution bandwidth.");
  Segment s;
  s.rbw = rbw;
  // The length the RBW asks for, judged against n before it is rounded to an
  // int: a tiny RBW would ask for more samples than an int holds.
  const double wanted = CalcRBWForWindowLength(sampleRate, 1, shape) / rbw;
  int64_t length = wanted >= static_cast<double>(n) + 1.0 ? int64_t{n} + 1
                                                           : CalcWindowLengthForRBW(sampleRate, rbw, shape);
  if (length < 4) {
    length = 4;
    s.rbw = CalcRBWForWindowLength(sampleRate, 4, shape);
  }
  if (n < length) {
    length = n;
    s.rbw = CalcRBWForWindowLength(sampleRate, n, shape);
  }
  s.length = static_cast<int>(length);
  s.actualRbw = CalcRBWForWindowLength(sampleRate, s.length, shape);
  return s;
}

int AutoNumFreqs(double sampleRate, double rbw) {
  const int64_t bins = 4 * int64_t{RoundToInt(sampleRate / rbw)} + 1;
  if (bins < 2 || bins > kMaxSpectrumBins) throw new CQError("Invalid number of frequencies.");
  return static_cast<int>(bins);
}

void CheckNumFreqs(int numFreqs) {
  if (numFreqs < 2 || numFreqs > kMaxSpectrumBins) throw new CQError("Invalid number of frequencies.");
}

}  // namespace lv_spectral
