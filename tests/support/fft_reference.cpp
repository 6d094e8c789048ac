// The FFT reference (FFTW in double precision) and the property verifier.
#include "support/fft_reference.h"

#include <fftw3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <sstream>

#include "support/bits.h"

namespace lv_test {

namespace {

class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(0x9E3779B97F4A7C15ull * (uint64_t{seed} + 11)) {}
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state_ >> 32);
  }
  // Uniform in [-1, 1).
  float Unit() { return static_cast<float>(static_cast<int32_t>(Next())) * 0x1p-31f; }

 private:
  uint64_t state_;
};

int Log2(int64_t n) { return 63 - __builtin_clzll(static_cast<uint64_t>(n)); }

}  // namespace

// ---- signals ----------------------------------------------------------------

void FillRandomSignal(ComplexFloat32* x, int64_t n, uint32_t seed) {
  Lcg rng(seed);
  for (int64_t i = 0; i < n; ++i) {
    x[i].re = rng.Unit();
    x[i].im = rng.Unit();
  }
}

std::vector<ComplexFloat32> RandomSignal(int64_t n, uint32_t seed) {
  std::vector<ComplexFloat32> x(static_cast<size_t>(n));
  FillRandomSignal(x.data(), n, seed);
  return x;
}

std::vector<ComplexFloat32> RandomWideSignal(int64_t n, uint32_t seed) {
  Lcg rng(seed);
  auto value = [&rng]() { return std::ldexp(rng.Unit(), static_cast<int>(rng.Next() % 41) - 20); };
  std::vector<ComplexFloat32> x(static_cast<size_t>(n));
  for (auto& v : x) {
    v.re = value();
    v.im = value();
  }
  return x;
}

int64_t ReverseBits(int64_t v, int bits) {
  int64_t r = 0;
  for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
  return r;
}

std::vector<ComplexFloat32> BitReversed(const std::vector<ComplexFloat32>& x) {
  const int64_t n = static_cast<int64_t>(x.size());
  const int bits = n > 1 ? Log2(n) : 0;
  std::vector<ComplexFloat32> z(x.size());
  for (int64_t k = 0; k < n; ++k) z[ReverseBits(k, bits)] = x[k];
  return z;
}

std::vector<ComplexFloat32> Conjugated(const std::vector<ComplexFloat32>& x) {
  std::vector<ComplexFloat32> c(x);
  for (auto& v : c) v.im = -v.im;
  return c;
}

// ---- buffers ----------------------------------------------------------------

namespace {
constexpr size_t kGuardBytes = 128;
}  // namespace

PlacedPoints::PlacedPoints(int64_t n, size_t offset)
    : n_(n),
      storage_(new uint8_t[static_cast<size_t>(n) * 8 + offset + 2 * kGuardBytes + 64]),
      size_(static_cast<size_t>(n) * 8 + offset + 2 * kGuardBytes + 64) {
  const uintptr_t base = (reinterpret_cast<uintptr_t>(storage_.get()) + kGuardBytes + 63) & ~uintptr_t{63};
  data_ = reinterpret_cast<ComplexFloat32*>(base + offset);
  const uint8_t* begin = reinterpret_cast<const uint8_t*>(data_);
  std::memset(storage_.get(), kCanary, static_cast<size_t>(begin - storage_.get()));
  std::memset(storage_.get() + (begin - storage_.get()) + 8 * n, kCanary,
              size_ - static_cast<size_t>(begin - storage_.get()) - static_cast<size_t>(8 * n));
}

ComplexFloat32* PlacedPoints::Fill(const std::vector<ComplexFloat32>& x) {
  std::memcpy(data_, x.data(), static_cast<size_t>(n_) * 8);
  return data_;
}

bool PlacedPoints::CanariesIntact() const {
  const uint8_t* begin = reinterpret_cast<const uint8_t*>(data_);
  const uint8_t* end = begin + 8 * n_;
  for (const uint8_t* p = storage_.get(); p < begin; ++p) {
    if (*p != kCanary) return false;
  }
  for (const uint8_t* p = end; p < storage_.get() + size_; ++p) {
    if (*p != kCanary) return false;
  }
  return true;
}

PatternedWork::PatternedWork(int64_t bytes) : raw_(static_cast<size_t>(bytes) + 128), bytes_(bytes) {
  data_ = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(raw_.data()) + 63) & ~uintptr_t{63});
  for (int64_t i = 0; i < bytes_ + 64; ++i) data_[i] = static_cast<uint8_t>(0xA5 ^ i);
}

bool PatternedWork::Untouched() const {
  for (int64_t i = 0; i < bytes_; ++i) {
    if (data_[i] != static_cast<uint8_t>(0xA5 ^ i)) return false;
  }
  return GuardIntact();
}

bool PatternedWork::GuardIntact() const {
  for (int64_t i = bytes_; i < bytes_ + 64; ++i) {
    if (data_[i] != static_cast<uint8_t>(0xA5 ^ i)) return false;
  }
  return true;
}

void AlignedMemory::Free::operator()(void* p) const { std::free(p); }

AlignedMemory::AlignedMemory(int64_t bytes) {
  const size_t rounded = static_cast<size_t>((bytes + 63) / 64 * 64);
  data_.reset(static_cast<uint8_t*>(std::aligned_alloc(64, rounded ? rounded : 64)));
}

// ---- plans ------------------------------------------------------------------

FftPlan::FftPlan(int order, int flag, size_t workOffset)
    : FftPlan(FftGetSizeComplexFloat32, FftInitComplexFloat32, order, flag, workOffset) {}

FftPlan::FftPlan(FftGetSizeFn getSize, FftInitFn init, int order, int flag, size_t workOffset)
    : workOffset_(workOffset) {
  status = getSize(order, flag, 2, &specBytes, &initBytes, &workBytes);
  if (status != 0) {
    return;
  }
  specMemory_ = AlignedMemory(specBytes);
  AlignedMemory initBuffer(initBytes);
  work_ = AlignedMemory(workBytes + static_cast<int64_t>(workOffset));
  status = init(&spec, order, flag, 2, specMemory_.bytes(), initBytes > 0 ? initBuffer.bytes() : nullptr);
}

FftSubject TransformSubject(FftTransformFn fn, const FftPlan& plan, int order, int sign, double scale) {
  FftSubject s;
  s.order = order;
  s.sign = sign;
  s.scale = scale;
  s.run = [fn, &plan](const ComplexFloat32* src, ComplexFloat32* dst) {
    const int32_t status = fn(src, dst, plan.spec, plan.work());
    if (status != 0) {
      ADD_FAILURE() << "the transform returned status " << status;
    }
  };
  return s;
}

// ---- reference ----------------------------------------------------------------

double FftErrorBound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

ReferenceDft::ReferenceDft(const ComplexFloat32* x, int64_t n, int sign) : n_(n) {
  auto* buffer = fftw_alloc_complex(static_cast<size_t>(n));
  data_ = &buffer[0][0];
  fftw_plan plan =
      fftw_plan_dft_1d(static_cast<int>(n), buffer, buffer, sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    buffer[i][0] = x[i].re;
    buffer[i][1] = x[i].im;
  }
  fftw_execute(plan);
  fftw_destroy_plan(plan);
}

ReferenceDft::~ReferenceDft() { fftw_free(data_); }

double ReferenceDft::RelativeError(const ComplexFloat32* y, double scale) const {
  double num = 0, den = 0;
  for (int64_t k = 0; k < n_; ++k) {
    const double wr = data_[2 * k] * scale, wi = data_[2 * k + 1] * scale;
    const double er = y[k].re - wr, ei = y[k].im - wi;
    num += er * er + ei * ei;
    den += wr * wr + wi * wi;
  }
  return std::sqrt(num / den);
}

::testing::AssertionResult AgreesWithDft(const ComplexFloat32* x, const ComplexFloat32* y, int64_t n, int sign,
                                         double scale) {
  const int order = Log2(n);
  const double error = ReferenceDft(x, n, sign).RelativeError(y, scale);
  if (error <= FftErrorBound(order)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << (sign < 0 ? "forward" : "inverse") << " transform of order " << order
                                       << ": relative error " << error << " against FFTW in double, bound "
                                       << FftErrorBound(order);
}

::testing::AssertionResult ReturnsScaledInput(const std::vector<ComplexFloat32>& y,
                                              const std::vector<ComplexFloat32>& x, double factor, double bound) {
  double num = 0, den = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    const double wr = x[i].re * factor, wi = x[i].im * factor;
    const double er = y[i].re - wr, ei = y[i].im - wi;
    num += er * er + ei * ei;
    den += wr * wr + wi * wi;
  }
  const double error = std::sqrt(num / den);
  if (error <= bound) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "round trip: relative error " << error << ", bound " << bound;
}

// ---- exact relations ------------------------------------------------------------

::testing::AssertionResult IsMirror(const ComplexFloat32* inverse, const ComplexFloat32* forwardOfConjugate,
                                    int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    if (!(inverse[i].re == forwardOfConjugate[i].re && inverse[i].im == -forwardOfConjugate[i].im)) {
      return ::testing::AssertionFailure()
             << "inverse(x) != conj(forward(conj(x))) at point " << i << ": (" << inverse[i].re << ", " << inverse[i].im
             << ") vs conj(" << forwardOfConjugate[i].re << ", " << forwardOfConjugate[i].im << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsScaledOnce(const ComplexFloat32* scaled, const ComplexFloat32* unscaled, int64_t n,
                                        float factor) {
  int64_t bad = 0, first = -1;
  for (int64_t i = 0; i < n; ++i) {
    if (scaled[i].re != unscaled[i].re * factor || scaled[i].im != unscaled[i].im * factor) {
      if (bad++ == 0) first = i;
    }
  }
  if (bad == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << bad << " of " << n << " points are not the unscaled result times " << factor
                                       << "; the first, point " << first << ": (" << scaled[first].re << ", "
                                       << scaled[first].im << ") vs (" << unscaled[first].re << ", "
                                       << unscaled[first].im << ") * factor";
}

// ---- the verifier ---------------------------------------------------------------

namespace {

// Sums of |got - want|^2 and |want|^2 in plain double arithmetic.
struct ErrorSum {
  double num = 0, den = 0;
  void Add(const ComplexFloat32& got, double wantRe, double wantIm) {
    const double er = got.re - wantRe, ei = got.im - wantIm;
    num += er * er + ei * ei;
    den += wantRe * wantRe + wantIm * wantIm;
  }
  double Relative() const { return std::sqrt(num / den); }
};

// cos and sin of sign 2 pi k/n.
void RampAt(int sign, int64_t k, int64_t n, double* c, double* s) {
  const double a = sign * 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
  *c = std::cos(a);
  *s = std::sin(a);
}

}  // namespace

::testing::AssertionResult VerifyFft(const FftSubject& s, uint32_t seed, unsigned properties) {
  const int64_t n = int64_t{1} << s.order;
  const size_t size = static_cast<size_t>(n);
  const double bound = FftErrorBound(s.order);
  std::ostringstream failures;
  auto fail = [&](const char* what) -> std::ostream& { return failures << "\n  " << what << ": "; };

  const std::vector<ComplexFloat32> x = RandomSignal(n, seed);
  std::vector<ComplexFloat32> fx(size), in(x), out(size);
  s.run(in.data(), fx.data());
  if (properties & kFftSourceUntouched) {
    if (auto same = SameBits(in, x); !same) fail("an out-of-place call changed its source") << same.message();
  }
  if (properties & kFftInPlace) {
    in = x;
    s.run(in.data(), in.data());
    if (auto same = SameBits(in, fx); !same) fail("in place differs from out of place") << same.message();
  }
  if (properties & kFftAccuracy) {
    const double error = ReferenceDft(x.data(), n, s.sign).RelativeError(fx.data(), s.scale);
    if (!(error <= bound)) fail("accuracy") << "relative error " << error << " against FFTW in double, bound " << bound;
  }
  if (properties & kFftLinearity) {
    // F(0.75 x - 0.5 y) against 0.75 F(x) - 0.5 F(y); `in` holds y, then the mix.
    FillRandomSignal(in.data(), n, seed ^ 0x5A5A5A5Au);
    s.run(in.data(), out.data());
    for (int64_t i = 0; i < n; ++i) {
      in[i] = {0.75f * x[i].re - 0.5f * in[i].re, 0.75f * x[i].im - 0.5f * in[i].im};
    }
    std::vector<ComplexFloat32> fmix(size);
    s.run(in.data(), fmix.data());
    ErrorSum e;
    for (int64_t k = 0; k < n; ++k) {
      e.Add(fmix[k], 0.75 * fx[k].re - 0.5 * out[k].re, 0.75 * fx[k].im - 0.5 * out[k].im);
    }
    if (!(e.Relative() <= 4 * bound)) fail("linearity") << "relative error " << e.Relative() << ", bound " << 4 * bound;
  }
  if (properties & kFftTimeShift) {
    for (int64_t i = 0; i < n; ++i) in[i] = x[(i + n - 1) % n];
    s.run(in.data(), out.data());
    ErrorSum e;
    for (int64_t k = 0; k < n; ++k) {
      double c, sn;
      RampAt(s.sign, k, n, &c, &sn);
      e.Add(out[k], fx[k].re * c - fx[k].im * sn, fx[k].re * sn + fx[k].im * c);
    }
    if (!(e.Relative() <= 4 * bound))
      fail("time shift") << "relative error " << e.Relative() << ", bound " << 4 * bound;
  }
  if (properties & kFftImpulse) {
    // At point 0: (1, -2) times the scale in every bin, exactly.
    std::fill(in.begin(), in.end(), ComplexFloat32{0.0f, 0.0f});
    in[0] = {1.0f, -2.0f};
    s.run(in.data(), out.data());
    const float scale = static_cast<float>(s.scale);
    for (int64_t k = 0; k < n; ++k) {
      if (!(out[k].re == scale && out[k].im == -2.0f * scale)) {
        fail("impulse at point 0") << "bin " << k << " holds (" << out[k].re << ", " << out[k].im << "), not (" << scale
                                   << ", " << -2.0f * scale << ")";
        break;
      }
    }
    // At point 1: the phase ramp.
    if (n > 1) {
      in[0] = {0.0f, 0.0f};
      in[1] = {1.0f, 0.0f};
      s.run(in.data(), out.data());
      ErrorSum e;
      for (int64_t k = 0; k < n; ++k) {
        double c, sn;
        RampAt(s.sign, k, n, &c, &sn);
        e.Add(out[k], c * s.scale, sn * s.scale);
      }
      if (!(e.Relative() <= bound))
        fail("impulse at point 1") << "relative error " << e.Relative() << " from the phase ramp";
    }
  }
  if (failures.str().empty()) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << (s.sign < 0 ? "forward" : "inverse") << " transform of order " << s.order
                                       << ", seed " << seed << ":" << failures.str();
}

}  // namespace lv_test
