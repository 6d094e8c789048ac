#include "core/spectral/czt.h"

#include <cmath>

#include "core/array_math.h"
#include "core/error.h"
#include "core/spectral/fft_wrapper.h"

namespace {

// The largest FFT the transform can use (2^27 points).
constexpr int64_t kMaxFftLength = int64_t{1} << 27;
// Chirp values computed recursively between two direct evaluations.
constexpr int kChirpBlock = 50;

// e^(j*pi*x), with x first reduced modulo 2 so that large arguments keep
// their fractional accuracy.
void UnitPhase(double x, double* re, double* im) {
  double r = std::fmod(x, 2.0);
  if (r > 1.0) r -= 2.0;
  if (r < -1.0) r += 2.0;
  *re = std::cos(M_PI * r);
  *im = std::sin(M_PI * r);
}

// Writes count values out[i] = scale * e^(j*pi*(a*m^2 + b*m + c)) with
// m = first + i. Each block of 50 starts from a direct evaluation of the value
// and of the ratio to the next one; inside the block the value advances by the
// ratio and the ratio by the constant second difference e^(j*2*pi*a), in
// double precision, so rounding drift is bounded by the block length.
void MakeChirp(double a, double b, double c, double scale, int64_t first, int count, CQComplex* out) {
  double stepRe, stepIm;
  UnitPhase(2.0 * a, &stepRe, &stepIm);
  for (int start = 0; start < count; start += kChirpBlock) {
    const double m = static_cast<double>(first + start);
    const double m2 = m * m;  // exact below 2^53
    // Phase of value m and the increment to value m+1: a*(2m+1) + b.
    double vRe, vIm, rRe, rIm;
    UnitPhase(std::fmod(a * m2, 2.0) + std::fmod(b * m, 2.0) + c, &vRe, &vIm);
    UnitPhase(std::fmod(a * (2.0 * m + 1.0), 2.0) + b, &rRe, &rIm);
    const int end = count - start < kChirpBlock ? count : start + kChirpBlock;
    for (int i = start; i < end; ++i) {
      out[i].Set(scale * vRe, scale * vIm);
      const double nRe = vRe * rRe - vIm * rIm;
      vIm = vRe * rIm + vIm * rRe;
      vRe = nRe;
      const double qRe = rRe * stepRe - rIm * stepIm;
      rIm = rRe * stepIm + rIm * stepRe;
      rRe = qRe;
    }
  }
}

// A complex block freed when it goes out of scope (also when a step throws).
struct WorkArea {
  explicit WorkArea(int n) : data(CQArrayMath::AllocComplex(n)) {}
  ~WorkArea() { CQArrayMath::Free(data); }
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;
  CQComplex* data;
};

int32_t NextPowerOf2(int64_t n) {
  int64_t p = 1;
  while (p < n) p <<= 1;
  return static_cast<int32_t>(p);
}

}  // namespace

CQCZT::CQCZT() : fft_(std::make_shared<CQFFT>()) {}

CQCZT::~CQCZT() { FreeBuffers(); }

bool CQCZT::ShareFFTWith(const CQCZT& other) {
  if (!initialized_ || !other.initialized_ || fftLength_ != other.fftLength_) return false;
  fft_ = other.fft_;
  return true;
}

void CQCZT::FreeBuffers() {
  CQArrayMath::Free(output_);
  CQArrayMath::Free(filterSpectrum_);
  output_ = filterSpectrum_ = nullptr;
}

void CQCZT::SetTimeParameters(double start, double step, int points) {
  if (points < 2) throw new CQError("Invalid number of time domain points.", "CQCZT::SetTimeParameters");
  t0_ = start;
  dt_ = step;
  numTime_ = points;
}

void CQCZT::SetFreqParameters(double start, double step, int points) {
  if (points <= 0) throw new CQError("Invalid number of frequency domain points.", "CQCZT::SetFreqParameters");
  f0_ = start;
  df_ = step;
  numFreq_ = points;
}

void CQCZT::Initialize(int direction) {
  try {
    initialized_ = false;
    FreeBuffers();
    if (direction != kForward && direction != kInverse) throw new CQError("Invalid transform direction.");
    if (numTime_ < 2) throw new CQError("Invalid number of time domain points.");
    if (numFreq_ <= 0) throw new CQError("Invalid number of frequency domain points.");
    if (!std::isfinite(t0_) || !std::isfinite(dt_) || !std::isfinite(f0_) || !std::isfinite(df_))
      throw new CQError("Invalid transform grid.");
    direction_ = direction;
    const bool forward = direction == kForward;
    inputLength_ = forward ? numTime_ : numFreq_;
    outputLength_ = forward ? numFreq_ : numTime_;
    const int64_t needed = int64_t{numTime_} + numFreq_;
    if (needed > kMaxFftLength) throw new CQError("Error initializing FFT routine.");
    fftLength_ = NextPowerOf2(needed);
    const float scale = forward ? static_cast<float>(1.0 / numTime_) : 1.0f;

    filterSpectrum_ = CQArrayMath::AllocComplex(fftLength_);

    // With n*k = (n^2 + k^2 - (k-n)^2)/2 the sum becomes a chirp times the
    // convolution of (input times chirp) with a chirp.
    double a, b, c, d;
    if (forward) {
      a = -dt_ * df_;
      b = f0_ * dt_;
      c = -df_ * t0_;
      d = -f0_ * t0_;
    } else {
      a = dt_ * df_;
      b = -df_ * t0_;
      c = f0_ * dt_;
      d = f0_ * t0_;
    }
    preChirp_ = {a, -2.0 * b, 0.0, 1.0};
    postChirp_ = {a, 2.0 * c, std::fmod(2.0 * d, 2.0), scale};
    ComputeVArray(a);
    initialized_ = true;
    ++initCount_;
  } catch (CQError* e) {
    e->AddToCallStack("CQCZT::Initialize");
    throw;
  }
}

void CQCZT::ComputeVArray(double a) {
  try {
    // v[m] = e^(-j pi a m^2) for lags 0..output-1 and, wrapped to the end,
    // for lags -1..-(input-1); zeros between.
    const int L = fftLength_;
    MakeChirp(-a, 0.0, 0.0, 1.0, 0, outputLength_, filterSpectrum_);
    CQArrayMath::ZeroFill(filterSpectrum_, outputLength_, L - inputLength_);
    if (inputLength_ > 1) {
      CQComplex* tail = filterSpectrum_ + (L - inputLength_ + 1);
      // tail[i] holds lag m = input-1-i; build lags 1..input-1 upward, then reverse.
      MakeChirp(-a, 0.0, 0.0, 1.0, 1, inputLength_ - 1, tail);
      for (int i = 0, j = inputLength_ - 2; i < j; ++i, --j) {
        const CQComplex t = tail[i];
        tail[i] = tail[j];
        tail[j] = t;
      }
    }
    // The transform's own FFT object: its specification (order of L) is then
    // already built for Compute.
    fft_->ComputeInPlace(filterSpectrum_, L, CQFFT::kForward);
  } catch (CQError* e) {
    e->AddToCallStack("CQCZT::ComputeVArray");
    throw;
  }
}

void CQCZT::Compute(const CQComplex* input) {
  try {
    if (input == nullptr) throw new CQError("Null pointer to input data.");
    if (!initialized_) throw new CQError("Initialize must be called before Compute.");
    if (output_ == nullptr) output_ = CQArrayMath::AllocComplex(outputLength_);
  } catch (CQError* e) {
    e->AddToCallStack("CQCZT::Compute");
    throw;
  }
  Compute(input, output_);
}

void CQCZT::Compute(const CQComplex* input, CQComplex* output) {
  try {
    if (input == nullptr) throw new CQError("Null pointer to input data.");
    if (output == nullptr) throw new CQError("Null pointer to output data.");
    if (!initialized_) throw new CQError("Initialize must be called before Compute.");
    if (filterSpectrum_ == nullptr) throw new CQError("Null internal data pointer.");
    const int L = fftLength_;
    // The convolution's work area lives only for this call: between calls the
    // transform holds its filter spectrum and its output, not a second
    // FFT-length block.
    WorkArea work(L);
    // All in the work area: the FFT object keeps no buffers of its own. The
    // pre-chirp is written where the product goes, the post-chirp into the
    // output, and each product is taken element by element in place.
    MakeChirp(preChirp_.a, preChirp_.b, preChirp_.c, preChirp_.scale, 0, inputLength_, work.data);
    CQArrayMath::ArrayMult(input, work.data, work.data, inputLength_);
    CQArrayMath::ZeroFill(work.data, inputLength_, L - 1);
    fft_->ComputeInPlace(work.data, L, CQFFT::kForward);
    CQArrayMath::ArrayMult(work.data, filterSpectrum_, work.data, L);
    fft_->ComputeInPlace(work.data, L, CQFFT::kInverse);
    MakeChirp(postChirp_.a, postChirp_.b, postChirp_.c, postChirp_.scale, 0, outputLength_, output);
    CQArrayMath::ArrayMult(work.data, output, output, outputLength_);
  } catch (CQError* e) {
    e->AddToCallStack("CQCZT::Compute");
    throw;
  }
}
