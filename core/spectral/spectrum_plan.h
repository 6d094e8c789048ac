// The settings arithmetic shared by the averaged spectrum and the
// multi-spectrum: manual frequency limits, the segment (window) length that
// gives the resolution bandwidth, and the number of frequency bins.
#pragma once

#include <cstdint>

namespace lv_spectral {

// The most bins a spectrum may have: its complex transform output must fit
// the allocator's limit (a 32-bit byte size less the block header).
inline constexpr int32_t kMaxSpectrumBins = (INT32_MAX - 72) / 8;

// Clips manual limits to +-fs/2 (the clipped values are written back); a start
// not below the stop fails with "Invalid frequency limits.".
void ClipFreqLimits(double sampleRate, double& start, double& stop);

struct Segment {
  int length = 0;         // samples, at least 4 and at most n (n when n < 4)
  double rbw = 0.0;       // the requested RBW, or the RBW of the length when it had to change
  double actualRbw = 0.0; // the RBW of the length used
};

// The segment length of the window shape for the RBW: at least 4 samples, at
// most n; a length that had to change corrects the RBW. An RBW of 0 or less
// (or not a number) fails with "Invalid resolution bandwidth.".
Segment SegmentForRBW(double sampleRate, int n, double rbw, int shape);

// 4 x round(fs / rbw) + 1 bins, refused with "Invalid number of frequencies."
// beyond kMaxSpectrumBins.
int AutoNumFreqs(double sampleRate, double rbw);
// A manual number of bins: at least 2 and at most kMaxSpectrumBins, else
// "Invalid number of frequencies.".
void CheckNumFreqs(int numFreqs);

}  // namespace lv_spectral
