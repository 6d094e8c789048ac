// CQDSPWindow: a spectral window of one of eight shapes (rectangular, Hann,
// Hamming, 3- and 4-term Blackman-Harris and three Gaussians), scaled so that
// its mean is 1, with its equivalent noise bandwidth; and the conversions
// between a window length and the resolution bandwidth or time span it gives.
#pragma once

#include <cstdint>

#include "core/arrays/complex.h"

// Window shapes.
enum : int32_t {
  kWindowRectangular = 1,
  kWindowHann = 2,
  kWindowHamming = 3,
  kWindowBlackmanHarris3 = 4,
  kWindowBlackmanHarris4 = 5,
  kWindowGaussian278 = 6,
  kWindowGaussian346 = 7,
  kWindowGaussian430 = 8,
};

class CQDSPWindow {
 public:
  CQDSPWindow() = default;
  ~CQDSPWindow();
  CQDSPWindow(const CQDSPWindow&) = delete;
  CQDSPWindow& operator=(const CQDSPWindow&) = delete;

  // Store the length (N > 0) or the shape (1..8); neither rebuilds the window.
  void SetNumPoints(int n);
  void SetShape(int shape);
  int GetNumPoints() const { return numPoints_; }
  int GetShape() const { return shape_; }

  // Rebuilds the window from the stored length and shape.
  void Make();
  // A Gaussian window exp(-x^2/2), x running from -alpha to alpha over the n
  // points, scaled to mean 1. One point gives 1.
  static void MakeGaussian(double alpha, int n, float* out);

  // Multiplies n complex samples in place by the window (n must be its length).
  void Apply(CQComplex* data, int n) const;
  // Equivalent noise bandwidth in Hz: fs * sum(w^2) / sum(w)^2.
  double ComputeNBW(double sampleRate) const;
  // Value i, or 0 without a window or outside 0..N-1.
  float GetValue(int i) const;
  // The window values (null until made).
  const float* GetData() const { return window_; }
  const CQComplex* GetComplexData() const { return complexWindow_; }

 private:
  int32_t numPoints_ = 0;
  int32_t shape_ = kWindowRectangular;
  float* window_ = nullptr;
  CQComplex* complexWindow_ = nullptr;
};

// Length k*fs/RBW rounded to the nearest integer (k: the shape's RBW factor).
int CalcWindowLengthForRBW(double sampleRate, double rbw, int shape);
// k*fs/length.
double CalcRBWForWindowLength(double sampleRate, int length, int shape);
// (length/fs)*c (c: the shape's time factor, 1 for the rectangular window).
double CalcTimeSpanForWindowLength(double sampleRate, int length, int shape);
