// Shared pieces of the large-order transform tests of classes 5 and 7: the
// class table, specifications, signals and the comparison with FFTW in double.
#pragma once

#include <fftw3.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>

#include "fft/fft.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_classes.h"
#include "fft/drivers/large_order.h"

namespace lv_large_test {

using C = ComplexFloat32;
using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
using TransformFn = int32_t (*)(const C*, C*, const FftSpecComplexFloat32*, uint8_t*);
using LevelFn = void (*)(const FftSpecComplexFloat32*, C*, int32_t, int32_t, uint8_t*);

struct ClassRoads {
  int cls;
  const char* name;
  GetSizeFn getSize;
  InitFn init;
  TransformFn forward, inverse;
  LevelFn forwardLevel, inverseLevel;
};

inline void PrintTo(const ClassRoads& c, std::ostream* os) { *os << c.name; }

inline const ClassRoads kClasses[] = {
    {5, "Avx2", FftGetSizeComplexFloat32Avx2, FftInitComplexFloat32Avx2, FftForwardComplexFloat32Avx2,
     FftInverseComplexFloat32Avx2, FftForwardLargeOrderLevelAvx2, FftInverseLargeOrderLevelAvx2},
    {7, "Avx512", FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512,
     FftInverseComplexFloat32Avx512, FftForwardLargeOrderLevelAvx512, FftInverseLargeOrderLevelAvx512},
};

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// Bytes from aligned_alloc (64-byte aligned), size rounded up as it requires.
inline std::unique_ptr<uint8_t, FreeDeleter> AlignedBytes(int64_t bytes) {
  const size_t n = static_cast<size_t>((bytes + 63) / 64 * 64);
  return std::unique_ptr<uint8_t, FreeDeleter>(static_cast<uint8_t*>(std::aligned_alloc(64, n ? n : 64)));
}

// A specification of the class and its 64-byte-aligned work buffer.
struct Plan {
  std::unique_ptr<uint8_t, FreeDeleter> specMem, work;
  FftSpecComplexFloat32* spec = nullptr;
  int32_t workBytes = 0;
  int32_t status = -1;
  Plan(const ClassRoads& c, int order, int flag) {
    int32_t s = 0, i = 0, w = 0;
    status = c.getSize(order, flag, 2, &s, &i, &w);
    if (status != 0) return;
    specMem = AlignedBytes(s);
    auto init = AlignedBytes(i);
    work = AlignedBytes(w);
    workBytes = w;
    status = c.init(&spec, order, flag, 2, specMem.get(), init.get());
  }
};

inline void FillRandom(C* x, int64_t n, uint32_t seed) {
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 11);
  for (int64_t i = 0; i < n; ++i) {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    x[i].re = static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    x[i].im = static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
  }
}

// Relative L2 distance of y from scale * DFT(x) (sign -1 forward, +1 inverse),
// the DFT taken by FFTW in double, in place in `scratch` (n complex doubles).
inline double RelativeError(const C* x, const C* y, int64_t n, int sign, double scale, fftw_complex* scratch) {
  fftw_plan p = fftw_plan_dft_1d(static_cast<int>(n), scratch, scratch, sign, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    scratch[i][0] = x[i].re;
    scratch[i][1] = x[i].im;
  }
  fftw_execute(p);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double er = scratch[i][0] * scale - y[i].re, ei = scratch[i][1] * scale - y[i].im;
    num += er * er + ei * ei;
    den += (scratch[i][0] * scratch[i][0] + scratch[i][1] * scratch[i][1]) * scale * scale;
  }
  fftw_destroy_plan(p);
  return std::sqrt(num / den);
}

inline double Bound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

inline bool SameBits(const C* a, const C* b, int64_t n) {
  return std::memcmp(a, b, static_cast<size_t>(n) * 8) == 0;
}

}  // namespace lv_large_test
