// The reference and the property verifier of every FFT test.
//
// Reference: the DFT in double precision by FFTW; a result agrees with it when
// its relative L2 error is within FftErrorBound(order) = 2 * 2^-24 * (1 + order).
//
// Verifier, in the spirit of FFTW's own: a transform under test (an FftSubject:
// order, sign of the exponent, the factor it applies and a way to run it) is
// checked for
//   - accuracy against the reference,
//   - linearity: F(a x + b y) = a F(x) + b F(y),
//   - impulse response: an impulse at point 0 gives the same value in every bin
//     exactly, one at point 1 the phase ramp e^(sign 2 pi i k/N),
//   - time shift: a circular delay by one point multiplies bin k by
//     e^(sign 2 pi i k/N),
//   - the source left untouched by an out-of-place call,
//   - in place equal to out of place, bit for bit.
// Exact relations between two runs (the inverse as the mirror of the forward,
// a scale flag applied exactly once) are checked on their results.
//
// Signals are seeded; failures name the seed.
#pragma once

#include <gtest/gtest.h>

#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "primitives/vector_types.h"

namespace lv_test {

// Signs of the exponent.
inline constexpr int kFftForward = -1;
inline constexpr int kFftInverse = +1;

// ---- signals ----------------------------------------------------------------

// n points with real and imaginary parts uniform in [-1, 1), from the seed.
std::vector<ComplexFloat32> RandomSignal(int64_t n, uint32_t seed);
void FillRandomSignal(ComplexFloat32* x, int64_t n, uint32_t seed);
// n points of mixed magnitudes (2^-20 to 2^20) and signs.
std::vector<ComplexFloat32> RandomWideSignal(int64_t n, uint32_t seed);

// The low `bits` bits of v in reverse order.
int64_t ReverseBits(int64_t v, int bits);
// z[rev(k)] = x[k] for n = x.size() = 2^L points (an involution).
std::vector<ComplexFloat32> BitReversed(const std::vector<ComplexFloat32>& x);
// The complex conjugate of every point.
std::vector<ComplexFloat32> Conjugated(const std::vector<ComplexFloat32>& x);

// ---- buffers ----------------------------------------------------------------

// n points `offset` bytes past a 64-byte boundary, with 128 canary bytes on
// both sides; the points themselves start uninitialised.
class PlacedPoints {
 public:
  static constexpr uint8_t kCanary = 0xA5;
  PlacedPoints(int64_t n, size_t offset);
  ComplexFloat32* data() const { return data_; }
  // Copies x (n points) in.
  ComplexFloat32* Fill(const std::vector<ComplexFloat32>& x);
  std::vector<ComplexFloat32> Values() const { return std::vector<ComplexFloat32>(data_, data_ + n_); }
  // True when nothing outside the n points was written.
  bool CanariesIntact() const;

 private:
  int64_t n_;
  std::unique_ptr<uint8_t[]> storage_;
  size_t size_;
  ComplexFloat32* data_;
};

// A 64-byte-aligned work buffer of `bytes` bytes filled with a pattern, and 64
// bytes of pattern behind it: Untouched() when no byte of it changed,
// GuardIntact() when nothing behind it was written.
class PatternedWork {
 public:
  explicit PatternedWork(int64_t bytes);
  uint8_t* data() { return data_; }
  bool Untouched() const;
  bool GuardIntact() const;

 private:
  std::vector<uint8_t> raw_;
  uint8_t* data_;
  int64_t bytes_;
};

// 64-byte-aligned, uninitialised memory (aligned_alloc) of `bytes` bytes, for
// arrays of gigabytes, where a vector's zero fill would be wasted time.
class AlignedMemory {
 public:
  explicit AlignedMemory(int64_t bytes);
  uint8_t* bytes() const { return data_.get(); }
  ComplexFloat32* points() const { return reinterpret_cast<ComplexFloat32*>(data_.get()); }

 private:
  struct Free {
    void operator()(void* p) const;
  };
  std::unique_ptr<uint8_t, Free> data_;
};

// ---- plans ------------------------------------------------------------------

using FftGetSizeFn = int32_t (*)(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                                 int32_t* workBytes);
using FftInitFn = int32_t (*)(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                              uint8_t* specMemory, uint8_t* initBuffer);
using FftTransformFn = int32_t (*)(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                   uint8_t* workBuffer);

// A specification built in memory of the reported sizes (hint 2), and a work
// buffer of the reported size whose start lies `workOffset` bytes past a
// 64-byte boundary. Without functions: the dispatched entry points.
class FftPlan {
 public:
  FftPlan(int order, int flag, size_t workOffset = 0);
  FftPlan(FftGetSizeFn getSize, FftInitFn init, int order, int flag, size_t workOffset = 0);

  int32_t status = -1;  // of the size query, then of the initialisation
  FftSpecComplexFloat32* spec = nullptr;
  int32_t specBytes = 0, initBytes = 0, workBytes = 0;
  // Null when the specification needs no work buffer.
  uint8_t* work() const { return workBytes > 0 ? work_.bytes() + workOffset_ : nullptr; }

 private:
  AlignedMemory specMemory_{0};
  AlignedMemory work_{0};
  size_t workOffset_ = 0;
};

// The transform `fn` with the plan's specification and work buffer, as a
// subject of the verifier (a status other than 0 is a test failure).
struct FftSubject;
FftSubject TransformSubject(FftTransformFn fn, const FftPlan& plan, int order, int sign, double scale);

// ---- reference ----------------------------------------------------------------

// 2 * 2^-24 * (1 + order): the relative L2 error every transform of 2^order
// points keeps to.
double FftErrorBound(int order);

// The unscaled DFT of n points in double precision by FFTW:
// X[k] = sum x[j] e^(sign 2 pi i jk/n). One buffer of n complex doubles.
class ReferenceDft {
 public:
  ReferenceDft(const ComplexFloat32* x, int64_t n, int sign);
  ~ReferenceDft();
  ReferenceDft(const ReferenceDft&) = delete;
  ReferenceDft& operator=(const ReferenceDft&) = delete;

  int64_t size() const { return n_; }
  std::complex<double> operator[](int64_t k) const { return {data_[2 * k], data_[2 * k + 1]}; }
  // ||y - scale X|| / ||scale X||.
  double RelativeError(const ComplexFloat32* y, double scale = 1.0) const;

 private:
  int64_t n_;
  double* data_;
};

// y is scale times the DFT of x (n = 2^order points) within FftErrorBound.
::testing::AssertionResult AgreesWithDft(const ComplexFloat32* x, const ComplexFloat32* y, int64_t n, int sign,
                                         double scale = 1.0);
inline ::testing::AssertionResult AgreesWithDft(const std::vector<ComplexFloat32>& x,
                                                const std::vector<ComplexFloat32>& y, int sign, double scale = 1.0) {
  return AgreesWithDft(x.data(), y.data(), static_cast<int64_t>(x.size()), sign, scale);
}

// ||y - factor x|| / ||factor x|| within `bound` (a round trip).
::testing::AssertionResult ReturnsScaledInput(const std::vector<ComplexFloat32>& y,
                                              const std::vector<ComplexFloat32>& x, double factor, double bound);

// ---- exact relations between results ------------------------------------------

// inverse[i] == conj(forwardOfConjugate[i]) for every point, compared as values:
// the inverse of x is the conjugate of the forward transform of conj(x).
::testing::AssertionResult IsMirror(const ComplexFloat32* inverse, const ComplexFloat32* forwardOfConjugate, int64_t n);
inline ::testing::AssertionResult IsMirror(const std::vector<ComplexFloat32>& inverse,
                                           const std::vector<ComplexFloat32>& forwardOfConjugate) {
  return IsMirror(inverse.data(), forwardOfConjugate.data(), static_cast<int64_t>(inverse.size()));
}

// scaled[i] == unscaled[i] * factor for every float (the factor applied exactly
// once, to the finished result).
::testing::AssertionResult IsScaledOnce(const ComplexFloat32* scaled, const ComplexFloat32* unscaled, int64_t n,
                                        float factor);
inline ::testing::AssertionResult IsScaledOnce(const std::vector<ComplexFloat32>& scaled,
                                               const std::vector<ComplexFloat32>& unscaled, float factor) {
  return IsScaledOnce(scaled.data(), unscaled.data(), static_cast<int64_t>(scaled.size()), factor);
}

// ---- the verifier ---------------------------------------------------------------

// One transform under test.
struct FftSubject {
  int order = 0;
  int sign = kFftForward;
  // The factor the subject applies to the DFT (1, 1/N, 1/sqrt(N)).
  double scale = 1.0;
  // Runs the transform of 2^order points from src into dst; src == dst asks
  // for the transform in place.
  std::function<void(const ComplexFloat32* src, ComplexFloat32* dst)> run;
};

enum FftProperty : unsigned {
  kFftAccuracy = 1u << 0,
  kFftLinearity = 1u << 1,
  kFftImpulse = 1u << 2,
  kFftTimeShift = 1u << 3,
  kFftSourceUntouched = 1u << 4,
  kFftInPlace = 1u << 5,
  kFftAllProperties = (1u << 6) - 1,
};

// Checks the chosen properties of the subject on signals from the seed; the
// failure lists every property that failed.
::testing::AssertionResult VerifyFft(const FftSubject& subject, uint32_t seed, unsigned properties = kFftAllProperties);

}  // namespace lv_test
