// FFT set-up of processor class 6 (AVX-512 many-core): size query, initialisation, table
// builders, split tables and permutations.
#include <immintrin.h>

#include <cmath>
#include <cstdint>

#include "fft/fft_permute_impl.h"
#include "fft/fft_setup.h"
#include "fft/fft_setup_impl.h"
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt_classes.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "vmath/sincos/sincos.h"
#include "vmath/rcp28.h"

LV_ASSERT_CLASS(6);

const int32_t kFftOrderSplitAvx512ManyCore[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8};
const int32_t kFftColumnBlockAvx512ManyCore[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 10, 10, 14, 14, 14, 14, 14, 14, 14, 14};

namespace lv_avx512mc {
namespace {

// 2^e as a double (e within the normal range).
double Pow2(int32_t e) {
  const uint64_t bits = static_cast<uint64_t>(1023 + e) << 52;
  double d = 0;
  __builtin_memcpy(&d, &bits, 8);
  return d;
}

// The 28-bit reciprocal approximation of one float.
float Reciprocal28(float m) { return _mm512_cvtss_f32(lv_vmath_rcp28::Rcp28(_mm512_set1_ps(m))); }

// 1/N for N = 2^order without a divide: the mantissa's 28-bit reciprocal, one
// fused correction in float32, then the exponent applied.
float ReciprocalOfPowerOfTwo(int32_t order) {
  const float x = static_cast<float>(int64_t{1} << order);
  uint32_t bits = 0;
  __builtin_memcpy(&bits, &x, 4);
  const int32_t exponent = static_cast<int32_t>((bits >> 23) & 0xFF) - 127;
  const uint32_t mantissaBits = (bits & 0x7FFFFFu) | 0x3F800000u;
  float mantissa = 0;
  __builtin_memcpy(&mantissa, &mantissaBits, 4);
  const float r = Reciprocal28(mantissa);
  const float q = r * 1.0f;
  const float d = __builtin_fmaf(-q, mantissa, 1.0f);
  const float refined = __builtin_fmaf(r, d, q);
  return refined * static_cast<float>(Pow2(-exponent));
}

// 1/y for a positive normal double y without a divide: the mantissa's 28-bit
// reciprocal, two fused corrections in float64, the exponent applied, then
// rounded to float32.
float ReciprocalSqrt(double y) {
  uint64_t bits = 0;
  __builtin_memcpy(&bits, &y, 8);
  const int32_t exponent = static_cast<int32_t>((bits >> 52) & 0x7FF) - 1023;
  const uint64_t mantissaBits = (bits & 0xFFFFFFFFFFFFFull) | 0x3FF0000000000000ull;
  double mantissa = 0;
  __builtin_memcpy(&mantissa, &mantissaBits, 8);
  const double r = Reciprocal28(static_cast<float>(mantissa));
  const double q = r * 1.0;
  const double e = __builtin_fma(-r, mantissa, 1.0);
  const double d = __builtin_fma(-q, mantissa, 1.0);
  const double r2 = __builtin_fma(e, r, r);
  const double q2 = __builtin_fma(d, r2, q);
  return static_cast<float>(q2 * Pow2(-exponent));
}

struct FftClass {
  static constexpr int32_t kSmallLimit = 6;
  static constexpr int32_t kLeafLimit = 18;
  static constexpr int32_t kLargest = 28;
  static constexpr int32_t kBlockedThreshold = 19;
  static constexpr int kV = 8;
  static constexpr int kRule = 4;
  static constexpr bool kManyCore = true;
  LV_FFT_SETUP_CLASS_ROUTINES(Avx512ManyCore)
  static float InverseN(int32_t order) { return ReciprocalOfPowerOfTwo(order); }
  static float InverseSqrtN(int32_t order) {
    return ReciprocalSqrt(ScalarSqrtFloat64Avx512ManyCore(static_cast<double>(int64_t{1} << order)));
  }
};

using Setup = ::lv_fft_setup::Setup<FftClass>;
using Tile = ::lv_fft_permute::Tile256<FftClass>;

}  // namespace
}  // namespace lv_avx512mc

#define LV_FS_SUFFIX Avx512ManyCore
#define LV_FS_NS lv_avx512mc
#define LV_FS_ROW_COPY Tile
#include "fft/fft_setup_class.inl"

int32_t FftGetSizeManyCoreSpec(int32_t order, int32_t flag, int32_t /*hint*/, int32_t* specBytes, int32_t* initBytes,
                               int32_t* workBytes) {
  using S = lv_avx512mc::Setup;
  if (static_cast<uint32_t>(order) > 16) return StatusFftBadOrder;
  if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) return StatusNullPointer;
  if (!S::ValidFlag(flag)) return StatusFftBadFlag;
  if (order <= 7) {
    *specBytes = 200;
    *initBytes = 0;
    *workBytes = 0;
    return StatusOk;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t sine = S::A64(n + 4);
  *specBytes = static_cast<int32_t>(S::A64(8 * n + 8) + sine + 256);
  *initBytes = static_cast<int32_t>(order > 10 ? sine + 64 : 0);
  *workBytes = static_cast<int32_t>(S::A64(8 * n) + 64);
  return StatusOk;
}

void* MakeSineTableManyCoreSpec(int32_t order, float* out) {
  using S = lv_avx512mc::Setup;
  const int64_t n = int64_t{1} << order;
  const int64_t q = n / 4;
  const int64_t h = n / 8;
  const double step = S::AngleStep(order);
  for (int64_t i = 0; i <= h; ++i) {
    out[i] = static_cast<float>(std::sin(static_cast<double>(i) * step));
  }
  for (int64_t i = h + 1; i <= q; ++i) {
    out[i] = static_cast<float>(std::cos(static_cast<double>(q - i) * step));
  }
  return reinterpret_cast<uint8_t*>(out) + S::A64(n + 4);
}

void* MakeBitReverseListManyCoreSpec(int32_t order, int32_t* out) {
  if (order < 2) return out;
  return lv_avx512mc::Setup::MakeBitReverseList(order, out);
}

void* ExpandRadix4TwiddlesManyCoreSpec(int32_t order, const float* sine, int32_t a, float* out) {
  using S = lv_avx512mc::Setup;
  using C = lv_avx512mc::FftClass;
  const int64_t n = int64_t{1} << order;
  if (n <= 8) return out;
  const int64_t q = (int64_t{1} << a) / 4;
  // Head block: W_16^(m i), m = 1..3, i = 0..3; its last 8 floats stay unwritten.
  float* p = out;
  for (int64_t m = 1; m <= 3; ++m) {
    for (int64_t i = 0; i < 4; ++i) {
      lv_fft_build::QuarterWave<C>(sine, q, m * i * (int64_t{1} << (a - 4)), p + i, p + 4 + i);
    }
    p += 8;
  }
  p = out + 32;
  int32_t o = 4;
  while (o < order) {
    const int32_t left = order - o;
    const int32_t bits = (left == 3 || left >= 5) ? 3 : 2;
    const int64_t radix = int64_t{1} << bits;
    const int32_t groupBits = o + bits;
    const int64_t stride = int64_t{1} << (a - groupBits);
    const int64_t positions = int64_t{1} << o;
    for (int64_t c = 0; c < positions; c += 16) {
      for (int64_t m = 1; m < radix; ++m) {
        for (int64_t i = 0; i < 16; ++i) {
          lv_fft_build::QuarterWave<C>(sine, q, m * (c + i) * stride, p + i, p + 16 + i);
        }
        p += 32;
      }
    }
    o = groupBits;
  }
  return reinterpret_cast<uint8_t*>(out) + S::A64(8 * n);
}

int32_t FftInitManyCoreSpec(FftSpecComplexFloat32** out, int32_t order, int32_t flag, int32_t hint,
                            uint8_t* specMemory, uint8_t* initBuffer) {
  using S = lv_avx512mc::Setup;
  if (out == nullptr || specMemory == nullptr) return StatusNullPointer;
  if (static_cast<uint32_t>(order) > 16) return StatusFftBadOrder;
  uint8_t* base = S::AlignUp64(specMemory);
  auto* spec = S::StartHeader<FftManyCoreSpecComplexFloat32>(base, kFftManyCoreHeaderBytes, order, flag, hint);
  if (spec == nullptr) return StatusFftBadFlag;
  if (order >= 8) {
    const float* sine = kFftQuarterSineOrder10;
    int32_t sineOrder = 10;
    if (order > 10) {
      if (initBuffer == nullptr) return StatusNullPointer;
      float* table = reinterpret_cast<float*>(S::AlignUp64(initBuffer));
      MakeSineTableManyCoreSpec(order, table);
      sine = table;
      sineOrder = order;
    }
    int32_t* list = reinterpret_cast<int32_t*>(base + kFftManyCoreHeaderBytes);
    spec->swapList = list;
    float* twiddles = static_cast<float*>(MakeBitReverseListManyCoreSpec(order, list));
    spec->twiddles = twiddles;
    ExpandRadix4TwiddlesManyCoreSpec(order, sine, sineOrder, twiddles);
    spec->workBytes = static_cast<int32_t>(S::A64(8 * (int64_t{1} << order)));
  }
  spec->identifier = kFftSpecIdentifier;
  *out = reinterpret_cast<FftSpecComplexFloat32*>(base);
  return StatusOk;
}
