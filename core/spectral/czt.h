// CQCZT: the chirp-z transform between a uniform time grid t_n = t0 + n*dt
// (n < Nt) and a uniform frequency grid f_k = f0 + k*df (k < Nf):
//   forward (1): X[k] = (1/Nt) * sum_n x[n] e^(-j 2 pi f_k t_n)
//   inverse (2): y[n] = sum_k X[k] e^(+j 2 pi f_k t_n)
// by Bluestein's method: a pre-chirp, a circular convolution with a chirp done
// with two power-of-two FFTs of length L >= Nt + Nf, and a post-chirp.
// Initialize builds the filter spectrum once; Compute reuses it until the
// parameters change and Initialize runs again. The pre- and post-chirps are
// generated during Compute, straight into the work area and the output (the
// same values every time), so an idle transform holds one FFT-length table
// and its output rather than two more chirp tables.
#pragma once

#include <cstdint>
#include <memory>

#include "core/arrays/complex.h"

class CQFFT;

class CQCZT {
 public:
  enum Direction : int32_t { kForward = 1, kInverse = 2 };

  CQCZT();
  ~CQCZT();
  CQCZT(const CQCZT&) = delete;
  CQCZT& operator=(const CQCZT&) = delete;

  // At least 2 time points and 1 frequency point. The setters do not clear
  // the tables: call Initialize after changing a parameter.
  void SetTimeParameters(double start, double step, int points);
  void SetFreqParameters(double start, double step, int points);
  // Builds the filter spectrum for the stored grids and the direction (1 or 2).
  void Initialize(int direction);
  bool IsInitialized() const { return initialized_; }

  // Transforms input-length values (Nt forward, Nf inverse) into the output.
  void Compute(const CQComplex* input);
  // The same into the caller's output-length array; the transform's own
  // output is neither made nor touched.
  void Compute(const CQComplex* input, CQComplex* output);
  // Output-length values (Nf forward, Nt inverse), owned by the transform;
  // made by the first one-argument Compute after Initialize (null before).
  const CQComplex* GetOutput() const { return output_; }
  // After both transforms are initialized: when their FFT lengths agree,
  // this transform uses `other`'s FFT (its specification and work buffer)
  // from now on and drops its own. For transforms run one after the other
  // on one thread. Returns whether it shares.
  bool ShareFFTWith(const CQCZT& other);
  int GetInputLength() const { return inputLength_; }
  int GetOutputLength() const { return outputLength_; }
  int GetFFTLength() const { return fftLength_; }
  // How many times the filter spectrum was built.
  int64_t GetInitCount() const { return initCount_; }

 private:
  void FreeBuffers();
  void ComputeVArray(double a);

  bool initialized_ = false;
  int32_t numTime_ = 0;
  int32_t numFreq_ = 0;
  int32_t fftLength_ = 0;
  int32_t inputLength_ = 0;
  int32_t outputLength_ = 0;
  double t0_ = 0.0, dt_ = 0.0;
  double f0_ = 0.0, df_ = 0.0;
  int32_t direction_ = kForward;
  std::shared_ptr<CQFFT> fft_;
  CQComplex* output_ = nullptr;
  CQComplex* filterSpectrum_ = nullptr;
  // The chirps' parameters: value i is scale * e^(j*pi*(a*i^2 + b*i + c)).
  struct Chirp {
    double a = 0.0, b = 0.0, c = 0.0, scale = 1.0;
  };
  Chirp preChirp_, postChirp_;
  int64_t initCount_ = 0;
};
