// The plain and scaled conversions, written once and built once per processor
// class (convert_sse2.cpp ... convert_avx512.cpp). Class-specific rules are
// chosen with `if constexpr (kClass ...)`; instructions above SSE2 are guarded
// by the compiler's feature macros.
//
// Rules of the scaled conversions that differ between classes (and that the
// scalar model in tests/primitives/convert reproduces):
//  * the factor 2^-s: repeated halving in single precision under the rounding
//    control in force (classes 0-4), or built from the exponent field with the
//    biased exponent clamped (class 2 nearest/truncating, classes 5-7);
//  * saturation: clamps before the conversion (class 0), or the integer
//    indefinite value corrected by compare and exclusive-or, or a repair pass
//    after the loop;
//  * the result of NaN elements, which follows from the operand order of the
//    clamps and the repair passes;
//  * the SSE control and status register: class 0 never touches it; the other
//    roads set the rounding control they need and give the caller back its
//    control bits and invalid-operation flag exactly.

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/convert/convert.h"
#include "primitives/convert/convert_classes.h"

namespace LV_NS {
namespace {

// The class table: from how many elements the float -> double conversion of a
// class writes with non-temporal stores (see kConvertStreamThresholdSse3).
// Only classes 1 to 3 stream.
constexpr int32_t kNeverStream = 0x7FFFFFFF;
constexpr int32_t kStreamAboveOfClass[kProcessorClassCount] = {
    kNeverStream,                  // 0 Sse2
    kConvertStreamThresholdSse3,   // 1 Sse3
    kConvertStreamThresholdSsse3,  // 2 Ssse3
    kConvertStreamThresholdSse42,  // 3 Sse42
    kNeverStream,                  // 4 Avx
    kNeverStream,                  // 5 Avx2
    kNeverStream,                  // 6 Avx512ManyCore
    kNeverStream,                  // 7 Avx512
};

// ---------------------------------------------------------------------------
// The SSE control and status register.

constexpr uint32_t kMxInvalidFlag = 0x0001;
constexpr uint32_t kMxDenormalsAreZero = 0x0040;
constexpr uint32_t kMxInvalidMask = 0x0080;
constexpr uint32_t kMxRoundingControl = 0x6000;
constexpr uint32_t kMxTowardZero = 0x6000;
// Exception flags other than invalid-operation (denormal, divide, overflow, underflow, precision).
constexpr uint32_t kMxOtherFlags = 0x003E;

// Gives the caller back its register: every control bit (rounding control,
// denormals-are-zero, flush-to-zero, exception masks) and the invalid-operation
// flag exactly as they were on entry; other exception flags raised by the work
// stay raised, as flags do.
inline void RestoreCallerMxcsr(uint32_t saved) {
  const uint32_t now = _mm_getcsr();
  const uint32_t restored = (saved & ~kMxOtherFlags) | ((now | saved) & kMxOtherFlags);
  if (now != restored) {
    _mm_setcsr(restored);
  }
}

// ---------------------------------------------------------------------------
// Scale factors 2^-s.

// Repeated halving (s > 0) or doubling (s < 0) of 1.0 in single precision,
// under the rounding control in force: exactly 2^-s for -127 <= s <= 149; for
// larger |s| the value no longer changes after a few hundred steps (0, the
// smallest subnormal when rounding up, +infinity or the largest finite float),
// so the loop stops there instead of running |s| times.
float HalvingFactor(int32_t s) {
  int64_t steps = s;
  const float step = steps > 0 ? 0.5f : 2.0f;
  if (steps < 0) {
    steps = -steps;
  }
  if (steps > 320) {
    steps = 320;
  }
  volatile float f = 1.0f;
  for (int64_t k = 0; k < steps; ++k) {
    f = f * step;
  }
  return f;
}

// 2^-s from the exponent field, the biased exponent clamped to 0..255: exact
// for -127 <= s <= 126, 0 for s >= 127, +infinity for s <= -128.
float ExponentFactor32(int32_t s) {
  int64_t e = 127 - int64_t{s};
  e = e < 0 ? 0 : (e > 255 ? 255 : e);
  return _mm_cvtss_f32(_mm_castsi128_ps(_mm_cvtsi32_si128(static_cast<int32_t>(e << 23))));
}

// The same in double precision, bias 1023: exact for -1023 <= s <= 1022, 0
// for s >= 1023, +infinity for s <= -1024.
double ExponentFactor64(int32_t s) {
  int64_t e = 1023 - int64_t{s};
  e = e < 0 ? 0 : (e > 2047 ? 2047 : e);
  return _mm_cvtsd_f64(_mm_castsi128_pd(_mm_cvtsi64_si128(e << 52)));
}

inline uint32_t FloatBits(float x) { return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_castps_si128(_mm_set_ss(x)))); }
inline uint64_t DoubleBits(double x) { return static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_castpd_si128(_mm_set_sd(x)))); }

// ---------------------------------------------------------------------------
// The ops layer: one struct per vector shape. I is the integer result vector.

struct F4 {  // four floats
  using V = __m128;
  using I = __m128i;
  static constexpr int kLanes = 4;
  static V Load(const float* p) { return _mm_loadu_ps(p); }
  static V Load1(const float* p) { return _mm_load_ss(p); }
  static V Set(float x) { return _mm_set1_ps(x); }
  static V Mul(V a, V b) { return _mm_mul_ps(a, b); }
  static V Add(V a, V b) { return _mm_add_ps(a, b); }
  static V Sub(V a, V b) { return _mm_sub_ps(a, b); }
  // Both return b when either operand is a NaN.
  static V Min(V a, V b) { return _mm_min_ps(a, b); }
  static V Max(V a, V b) { return _mm_max_ps(a, b); }
  static V And(V a, V b) { return _mm_and_ps(a, b); }
  static V Or(V a, V b) { return _mm_or_ps(a, b); }
  static V CmpGt(V a, V b) { return _mm_cmpgt_ps(a, b); }
  static V CmpLt(V a, V b) { return _mm_cmplt_ps(a, b); }
  static I Cvt(V a) { return _mm_cvtps_epi32(a); }
  static I Cvtt(V a) { return _mm_cvttps_epi32(a); }
  static I Bits(V a) { return _mm_castps_si128(a); }
  static I SetI(int32_t x) { return _mm_set1_epi32(x); }
  static I AddI(I a, I b) { return _mm_add_epi32(a, b); }
  static I SubI(I a, I b) { return _mm_sub_epi32(a, b); }
  static I AndI(I a, I b) { return _mm_and_si128(a, b); }
  static I AndNotI(I a, I b) { return _mm_andnot_si128(a, b); }
  static I OrI(I a, I b) { return _mm_or_si128(a, b); }
  static I XorI(I a, I b) { return _mm_xor_si128(a, b); }
  static I CmpGtI(I a, I b) { return _mm_cmpgt_epi32(a, b); }
  static I SraI(I a, int k) { return _mm_srai_epi32(a, k); }
  static I SllI(I a, int k) { return _mm_slli_epi32(a, k); }
#if defined(__FMA__)
  static V Fma(V a, V b, V c) { return _mm_fmadd_ps(a, b, c); }
#endif
  static void StoreI32(int32_t* p, I r) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), r); }
  static void StoreI16(int16_t* p, I r) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(r, r)); }
  static void StoreI32x1(int32_t* p, I r) { *p = _mm_cvtsi128_si32(r); }
  static void StoreI16x1(int16_t* p, I r) { *p = static_cast<int16_t>(_mm_cvtsi128_si32(_mm_packs_epi32(r, r))); }
  static void StoreI16Pair(int16_t* p, I r0, I r1) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(r0, r1));
  }
};

#if defined(__AVX2__)
struct F8 {  // eight floats
  using V = __m256;
  using I = __m256i;
  static constexpr int kLanes = 8;
  static V Load(const float* p) { return _mm256_loadu_ps(p); }
  static V Set(float x) { return _mm256_set1_ps(x); }
  static V Mul(V a, V b) { return _mm256_mul_ps(a, b); }
  static V Add(V a, V b) { return _mm256_add_ps(a, b); }
  static V Sub(V a, V b) { return _mm256_sub_ps(a, b); }
  static V Min(V a, V b) { return _mm256_min_ps(a, b); }
  static V Max(V a, V b) { return _mm256_max_ps(a, b); }
  static V And(V a, V b) { return _mm256_and_ps(a, b); }
  static V Or(V a, V b) { return _mm256_or_ps(a, b); }
  static V CmpGt(V a, V b) { return _mm256_cmp_ps(a, b, _CMP_GT_OS); }
  static V CmpLt(V a, V b) { return _mm256_cmp_ps(a, b, _CMP_LT_OS); }
  static I Cvt(V a) { return _mm256_cvtps_epi32(a); }
  static I Cvtt(V a) { return _mm256_cvttps_epi32(a); }
  static I Bits(V a) { return _mm256_castps_si256(a); }
  static I SetI(int32_t x) { return _mm256_set1_epi32(x); }
  static I AddI(I a, I b) { return _mm256_add_epi32(a, b); }
  static I SubI(I a, I b) { return _mm256_sub_epi32(a, b); }
  static I AndI(I a, I b) { return _mm256_and_si256(a, b); }
  static I AndNotI(I a, I b) { return _mm256_andnot_si256(a, b); }
  static I OrI(I a, I b) { return _mm256_or_si256(a, b); }
  static I XorI(I a, I b) { return _mm256_xor_si256(a, b); }
  static I CmpGtI(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
  static I SraI(I a, int k) { return _mm256_srai_epi32(a, k); }
  static I SllI(I a, int k) { return _mm256_slli_epi32(a, k); }
  static V Fma(V a, V b, V c) { return _mm256_fmadd_ps(a, b, c); }
  static void StoreI32(int32_t* p, I r) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), r); }
  // Packing works within 128-bit halves; the permutation puts the halves' results back in order.
  static void StoreI16(int16_t* p, I r) {
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(r, r), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
  }
  static void StoreI16Pair(int16_t* p, I r0, I r1) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_permute4x64_epi64(_mm256_packs_epi32(r0, r1), 0xD8));
  }
};
#endif

struct D2 {  // two doubles; the result is two int32 in the low half
  using V = __m128d;
  using I = __m128i;
  static constexpr int kLanes = 2;
  static V Load(const double* p) { return _mm_loadu_pd(p); }
  static V Load1(const double* p) { return _mm_load_sd(p); }
  static V Set(double x) { return _mm_set1_pd(x); }
  static V Mul(V a, V b) { return _mm_mul_pd(a, b); }
  static V Add(V a, V b) { return _mm_add_pd(a, b); }
  static V Min(V a, V b) { return _mm_min_pd(a, b); }
  static V Max(V a, V b) { return _mm_max_pd(a, b); }
  static V And(V a, V b) { return _mm_and_pd(a, b); }
  static V Or(V a, V b) { return _mm_or_pd(a, b); }
  static I Cvt(V a) { return _mm_cvtpd_epi32(a); }
  static I Cvtt(V a) { return _mm_cvttpd_epi32(a); }
  static void Store(int32_t* p, I r) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), r); }
  static void Store1(int32_t* p, I r) { *p = _mm_cvtsi128_si32(r); }
};

#if defined(__AVX__)
struct D4 {  // four doubles; the result is four int32
  using V = __m256d;
  using I = __m128i;
  static constexpr int kLanes = 4;
  static V Load(const double* p) { return _mm256_loadu_pd(p); }
  static V Set(double x) { return _mm256_set1_pd(x); }
  static V Mul(V a, V b) { return _mm256_mul_pd(a, b); }
  static V Add(V a, V b) { return _mm256_add_pd(a, b); }
  static V Min(V a, V b) { return _mm256_min_pd(a, b); }
  static V Max(V a, V b) { return _mm256_max_pd(a, b); }
  static V And(V a, V b) { return _mm256_and_pd(a, b); }
  static V Or(V a, V b) { return _mm256_or_pd(a, b); }
  static I Cvt(V a) { return _mm256_cvtpd_epi32(a); }
  static I Cvtt(V a) { return _mm256_cvttpd_epi32(a); }
  static void Store(int32_t* p, I r) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), r); }
};
#endif

// ---------------------------------------------------------------------------
// Plain conversions.

inline bool IsMultipleOf(const void* p, uintptr_t k) { return (reinterpret_cast<uintptr_t>(p) % k) == 0; }

// Elements to convert singly before the destination reaches an `align`-byte
// boundary; `count` when it never can (an address that is not a multiple of
// the element size) or when fewer than `minBlock` elements would follow.
template <typename T>
int32_t LeadingElements(const T* dst, int32_t count, uintptr_t align, int32_t minBlock) {
  if (!IsMultipleOf(dst, sizeof(T))) {
    return count;
  }
  const uintptr_t mis = reinterpret_cast<uintptr_t>(dst) % align;
  const int32_t p = mis == 0 ? 0 : static_cast<int32_t>((align - mis) / sizeof(T));
  return (count < p + minBlock) ? count : p;
}

// Four int16 (low 64 bits of w) sign-extended to four int32.
inline __m128i WidenInt16(__m128i w) {
#if defined(__SSE4_1__)
  return _mm_cvtepi16_epi32(w);
#else
  // The word goes into the upper half of each 32-bit lane, then an arithmetic shift brings it down.
  return _mm_srai_epi32(_mm_unpacklo_epi16(_mm_setzero_si128(), w), 16);
#endif
}

void ConvertInt16ToFloat32Kernel(const int16_t* src, float* dst, int32_t n) {
  int32_t i = 0;
#if defined(__AVX512BW__) && defined(__AVX512VL__)
  // Blocks of 64 from the start (aligned to 64 bytes on long arrays), masked 16-lane steps for the rest.
  if (n >= 1185 && IsMultipleOf(dst, 4)) {
    const int32_t p = LeadingElements(dst, n, 64, 0);
    if (p > 0) {
      const __mmask16 m = static_cast<__mmask16>((1u << p) - 1u);
      _mm512_mask_storeu_ps(dst, m, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm256_maskz_loadu_epi16(m, src))));
      i = p;
    }
  }
  if (IsMultipleOf(dst, 4)) {
    for (; i + 64 <= n; i += 64) {
      const __m512i a = _mm512_loadu_si512(src + i);
      const __m512i b = _mm512_loadu_si512(src + i + 32);
      _mm512_storeu_ps(dst + i, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_castsi512_si256(a))));
      _mm512_storeu_ps(dst + i + 16, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_extracti64x4_epi64(a, 1))));
      _mm512_storeu_ps(dst + i + 32, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_castsi512_si256(b))));
      _mm512_storeu_ps(dst + i + 48, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_extracti64x4_epi64(b, 1))));
    }
  }
  for (; i < n; i += 16) {
    const int32_t left = n - i;
    const __mmask16 m = left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1u);
    _mm512_mask_storeu_ps(dst + i, m, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm256_maskz_loadu_epi16(m, src + i))));
  }
  return;
#elif defined(__AVX512F__)
  // Blocks of 32 from the start; on long arrays the destination is first brought to 64 bytes.
  if (n >= 32) {
    if (n >= 185) {
      i = LeadingElements(dst, n, 64, 32);
      for (int32_t k = 0; k < i; ++k) {
        dst[k] = static_cast<float>(src[k]);
      }
    }
    for (; i + 32 <= n; i += 32) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 16));
      _mm512_storeu_ps(dst + i, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(a)));
      _mm512_storeu_ps(dst + i + 16, _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(b)));
    }
  }
#elif defined(__AVX__)
  // Blocks of 16 into a 32-byte aligned destination, then groups of 4.
  if (n >= 16) {
    if constexpr (kClass == 5) {
      i = n >= 29 ? LeadingElements(dst, n, 32, 16) : 0;
    } else {
      i = LeadingElements(dst, n, 32, 16);
    }
    for (int32_t k = 0; k < i; ++k) {
      dst[k] = static_cast<float>(src[k]);
    }
    if (i < n) {
      for (; i + 16 <= n; i += 16) {
#if defined(__AVX2__)
        const __m256i a = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
        const __m256i b = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 8)));
#else
        const __m128i w0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i));
        const __m128i w1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i + 4));
        const __m128i w2 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i + 8));
        const __m128i w3 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i + 12));
        const __m256i a = _mm256_insertf128_si256(_mm256_castsi128_si256(WidenInt16(w0)), WidenInt16(w1), 1);
        const __m256i b = _mm256_insertf128_si256(_mm256_castsi128_si256(WidenInt16(w2)), WidenInt16(w3), 1);
#endif
        _mm256_storeu_ps(dst + i, _mm256_cvtepi32_ps(a));
        _mm256_storeu_ps(dst + i + 8, _mm256_cvtepi32_ps(b));
      }
    }
  }
  for (; i + 4 <= n; i += 4) {
    _mm_storeu_ps(dst + i, _mm_cvtepi32_ps(WidenInt16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i)))));
  }
#else
  // SSE classes: singles up to a 16-byte destination boundary, blocks of 8, then 4.
  if (n >= 8) {
    i = LeadingElements(dst, n, 16, 8);
    for (int32_t k = 0; k < i; ++k) {
      dst[k] = static_cast<float>(src[k]);
    }
    if (i < n) {
      for (; i + 8 <= n; i += 8) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_store_ps(dst + i, _mm_cvtepi32_ps(WidenInt16(w)));
        _mm_store_ps(dst + i + 4, _mm_cvtepi32_ps(WidenInt16(_mm_unpackhi_epi64(w, w))));
      }
      if (i + 4 <= n) {
        _mm_storeu_ps(dst + i,
                      _mm_cvtepi32_ps(WidenInt16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i)))));
        i += 4;
      }
    }
  }
#endif
  for (; i < n; ++i) {
    dst[i] = static_cast<float>(src[i]);
  }
}

// Reads each block before writing it, so the source may be the destination.
void ConvertInt32ToFloat32Kernel(const int32_t* src, float* dst, int32_t n) {
  int32_t i = 0;
#if defined(__AVX__)
  // First stage: blocks of 32 from the start.
  for (; i + 32 <= n; i += 32) {
    const __m256 a = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
    const __m256 b = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8)));
    const __m256 c = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 16)));
    const __m256 d = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 24)));
    _mm256_storeu_ps(dst + i, a);
    _mm256_storeu_ps(dst + i + 8, b);
    _mm256_storeu_ps(dst + i + 16, c);
    _mm256_storeu_ps(dst + i + 24, d);
  }
#if defined(__AVX512F__)
  // The remainder in masked 16-lane steps.
  for (; i < n; i += 16) {
    const int32_t left = n - i;
    const __mmask16 m = left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1u);
    _mm512_mask_storeu_ps(dst + i, m, _mm512_cvtepi32_ps(_mm512_maskz_loadu_epi32(m, src + i)));
  }
  return;
#else
  if (n - i >= 16) {
    const int32_t p = LeadingElements(dst + i, n - i, 32, 16);
    for (const int32_t end = i + p; i < end; ++i) {
      dst[i] = static_cast<float>(src[i]);
    }
    if (i + 16 <= n) {
      const __m256 a = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
      const __m256 b = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8)));
      _mm256_storeu_ps(dst + i, a);
      _mm256_storeu_ps(dst + i + 8, b);
      i += 16;
    }
  }
  for (; i + 4 <= n; i += 4) {
    _mm_storeu_ps(dst + i, _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i))));
  }
#endif
#else
  // SSE classes: singles up to a 16-byte destination boundary, blocks of 8 (16
  // with a prefetch 512 bytes ahead in class 2 on long arrays), then 4.
  if (n >= 8) {
    i = LeadingElements(dst, n, 16, 8);
    for (int32_t k = 0; k < i; ++k) {
      dst[k] = static_cast<float>(src[k]);
    }
    if (i < n) {
      if constexpr (kClass == 2) {
        const bool prefetch = n - i >= 4096;
        for (; i + 16 <= n; i += 16) {
          if (prefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(src + i + 16) + 512, _MM_HINT_T0);
          }
          const __m128 a = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
          const __m128 b = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4)));
          const __m128 c = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 8)));
          const __m128 d = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 12)));
          _mm_store_ps(dst + i, a);
          _mm_store_ps(dst + i + 4, b);
          _mm_store_ps(dst + i + 8, c);
          _mm_store_ps(dst + i + 12, d);
        }
      }
      for (; i + 8 <= n; i += 8) {
        const __m128 a = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
        const __m128 b = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4)));
        _mm_store_ps(dst + i, a);
        _mm_store_ps(dst + i + 4, b);
      }
      if (i + 4 <= n) {
        _mm_storeu_ps(dst + i, _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i))));
        i += 4;
      }
    }
  }
#endif
  for (; i < n; ++i) {
    dst[i] = static_cast<float>(src[i]);
  }
}

void ConvertFloat32ToFloat64Kernel(const float* src, double* dst, int32_t n) {
  int32_t i = 0;
#if defined(__AVX512F__)
  // Blocks of 32 (aligned to 64 bytes on long arrays), masked 16-element steps for the rest.
  bool blocks = IsMultipleOf(dst, 8);
  if (blocks && n >= 169) {
    const int32_t p = LeadingElements(dst, n, 64, 0);
    if (p > 0) {
      const __mmask8 m = static_cast<__mmask8>((1u << p) - 1u);
      const __m512 v = _mm512_maskz_loadu_ps(static_cast<__mmask16>(m), src);
      _mm512_mask_storeu_pd(dst, m, _mm512_cvtps_pd(_mm512_castps512_ps256(v)));
      i = p;
    }
  }
  if (blocks) {
    for (; i + 32 <= n; i += 32) {
      const __m512 a = _mm512_loadu_ps(src + i);
      const __m512 b = _mm512_loadu_ps(src + i + 16);
      _mm512_storeu_pd(dst + i, _mm512_cvtps_pd(_mm512_castps512_ps256(a)));
      _mm512_storeu_pd(dst + i + 8, _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(a), 1))));
      _mm512_storeu_pd(dst + i + 16, _mm512_cvtps_pd(_mm512_castps512_ps256(b)));
      _mm512_storeu_pd(dst + i + 24, _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(b), 1))));
    }
  }
  for (; i < n; i += 16) {
    const int32_t left = n - i;
    const __mmask16 m = left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1u);
    const __m512 v = _mm512_maskz_loadu_ps(m, src + i);
    _mm512_mask_storeu_pd(dst + i, static_cast<__mmask8>(m & 0xFF), _mm512_cvtps_pd(_mm512_castps512_ps256(v)));
    _mm512_mask_storeu_pd(dst + i + 8, static_cast<__mmask8>(m >> 8),
                          _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(v), 1))));
  }
  return;
#elif defined(__AVX__)
  // Blocks of 16 into a 32-byte aligned destination, then groups of 4.
  if (n >= 16) {
    i = LeadingElements(dst, n, 32, 16);
    if (i < n) {
      for (int32_t k = 0; k < i; ++k) {
        dst[k] = static_cast<double>(src[k]);
      }
      for (; i + 16 <= n; i += 16) {
        _mm256_store_pd(dst + i, _mm256_cvtps_pd(_mm_loadu_ps(src + i)));
        _mm256_store_pd(dst + i + 4, _mm256_cvtps_pd(_mm_loadu_ps(src + i + 4)));
        _mm256_store_pd(dst + i + 8, _mm256_cvtps_pd(_mm_loadu_ps(src + i + 8)));
        _mm256_store_pd(dst + i + 12, _mm256_cvtps_pd(_mm_loadu_ps(src + i + 12)));
      }
    } else {
      i = 0;
    }
  }
  for (; i + 4 <= n; i += 4) {
    _mm256_storeu_pd(dst + i, _mm256_cvtps_pd(_mm_loadu_ps(src + i)));
  }
#else
  // SSE classes: singles up to a 16-byte destination boundary, then blocks of
  // 8. Classes 1 to 3 stream long arrays past the cache and fence once after.
  if (n >= 8) {
    const int32_t p = LeadingElements(dst, n, 16, 8);
    for (; i < p; ++i) {
      dst[i] = static_cast<double>(src[i]);
    }
    if (i < n) {
      constexpr int32_t streamAbove = kStreamAboveOfClass[kClass];
      if (n - i - 8 > streamAbove) {
        for (; i + 8 <= n; i += 8) {
          const __m128 a = _mm_loadu_ps(src + i);
          const __m128 b = _mm_loadu_ps(src + i + 4);
          _mm_stream_pd(dst + i, _mm_cvtps_pd(a));
          _mm_stream_pd(dst + i + 2, _mm_cvtps_pd(_mm_movehl_ps(a, a)));
          _mm_stream_pd(dst + i + 4, _mm_cvtps_pd(b));
          _mm_stream_pd(dst + i + 6, _mm_cvtps_pd(_mm_movehl_ps(b, b)));
        }
        _mm_sfence();
      } else {
        for (; i + 8 <= n; i += 8) {
          const __m128 a = _mm_loadu_ps(src + i);
          const __m128 b = _mm_loadu_ps(src + i + 4);
          _mm_store_pd(dst + i, _mm_cvtps_pd(a));
          _mm_store_pd(dst + i + 2, _mm_cvtps_pd(_mm_movehl_ps(a, a)));
          _mm_store_pd(dst + i + 4, _mm_cvtps_pd(b));
          _mm_store_pd(dst + i + 6, _mm_cvtps_pd(_mm_movehl_ps(b, b)));
        }
      }
    }
  }
#endif
  for (; i < n; ++i) {
    dst[i] = static_cast<double>(src[i]);
  }
}

// ---------------------------------------------------------------------------
// Scaled conversions: the drivers walk the arrays and apply a step to whole
// vectors; single elements go through the same step in lane 0 of a 4-lane
// vector, so every element of a class follows one rule whatever road it takes.

enum class Prologue { kNone, kDestination16, kSource16 };

// Prefetch of the source `bytes` past the end of the current block, in block
// loops that start with more than `above` elements left (bytes 0: none).
struct Prefetch {
  int32_t bytes = 0;
  int32_t above = 0;
};

inline void PrefetchSource(const void* blockEnd, int32_t bytes) {
  _mm_prefetch(static_cast<const char*>(blockEnd) + bytes, _MM_HINT_T0);
}

// Elements converted singly before the prologue's pointer is on a 16-byte boundary.
template <typename S, typename D>
int32_t PrologueLength(Prologue kind, const S* src, const D* dst, int32_t n) {
  const void* p = kind == Prologue::kDestination16 ? static_cast<const void*>(dst) : static_cast<const void*>(src);
  const uintptr_t elem = kind == Prologue::kDestination16 ? sizeof(D) : sizeof(S);
  if (kind == Prologue::kNone || !IsMultipleOf(p, elem)) {
    return 0;
  }
  const uintptr_t mis = reinterpret_cast<uintptr_t>(p) % 16;
  const int32_t k = mis == 0 ? 0 : static_cast<int32_t>((16 - mis) / elem);
  return k < n ? k : n;
}

// float -> int32 or int16. W is the widest shape of the class, kUnroll the
// vectors per block. Step: (shape tag, source vector) -> int32 lanes.
template <class W, int kUnroll, typename Out, class Step>
void DriveFloat32(const float* src, Out* dst, int32_t n, Prologue prologue, const Step& step, Prefetch pf = {}) {
  auto single = [&](int32_t k) {
    const F4::I r = step(F4{}, F4::Load1(src + k));
    if constexpr (sizeof(Out) == 2) {
      F4::StoreI16x1(dst + k, r);
    } else {
      F4::StoreI32x1(dst + k, r);
    }
  };
  auto vector = [&](auto shape, int32_t k) {
    using S = decltype(shape);
    const typename S::I r = step(shape, S::Load(src + k));
    if constexpr (sizeof(Out) == 2) {
      S::StoreI16(dst + k, r);
    } else {
      S::StoreI32(dst + k, r);
    }
  };
  // Two vectors of a block packed into one store.
  auto pair = [&](auto shape, int32_t k) {
    using S = decltype(shape);
    const typename S::I r0 = step(shape, S::Load(src + k));
    const typename S::I r1 = step(shape, S::Load(src + k + S::kLanes));
    if constexpr (sizeof(Out) == 2) {
      S::StoreI16Pair(dst + k, r0, r1);
    } else {
      S::StoreI32(dst + k, r0);
      S::StoreI32(dst + k + S::kLanes, r1);
    }
  };
  auto block = [&](int32_t k) {
    if constexpr (kUnroll % 2 == 0) {
      for (int u = 0; u < kUnroll; u += 2) {
        pair(W{}, k + u * W::kLanes);
      }
    } else {
      for (int u = 0; u < kUnroll; ++u) {
        vector(W{}, k + u * W::kLanes);
      }
    }
  };
  int32_t i = 0;
  for (const int32_t p = PrologueLength(prologue, src, dst, n); i < p; ++i) {
    single(i);
  }
  constexpr int32_t kBlock = W::kLanes * kUnroll;
  if (pf.bytes > 0 && n - i > pf.above) {
    for (; i + kBlock <= n; i += kBlock) {
      PrefetchSource(src + i + kBlock, pf.bytes);
      block(i);
    }
  }
  for (; i + kBlock <= n; i += kBlock) {
    block(i);
  }
  for (; i + W::kLanes <= n; i += W::kLanes) {
    vector(W{}, i);
  }
  if constexpr (W::kLanes > 4) {
    if (i + 4 <= n) {
      vector(F4{}, i);
      i += 4;
    }
  }
  for (; i < n; ++i) {
    single(i);
  }
}

// double -> int32.
template <class W, int kUnroll, class Step>
void DriveFloat64(const double* src, int32_t* dst, int32_t n, Prologue prologue, const Step& step, Prefetch pf = {}) {
  int32_t i = 0;
  for (const int32_t p = PrologueLength(prologue, src, dst, n); i < p; ++i) {
    D2::Store1(dst + i, step(D2{}, D2::Load1(src + i)));
  }
  constexpr int32_t kBlock = W::kLanes * kUnroll;
  if (pf.bytes > 0 && n - i > pf.above) {
    for (; i + kBlock <= n; i += kBlock) {
      PrefetchSource(src + i + kBlock, pf.bytes);
      for (int u = 0; u < kUnroll; ++u) {
        W::Store(dst + i + u * W::kLanes, step(W{}, W::Load(src + i + u * W::kLanes)));
      }
    }
  }
  for (; i + kBlock <= n; i += kBlock) {
    for (int u = 0; u < kUnroll; ++u) {
      W::Store(dst + i + u * W::kLanes, step(W{}, W::Load(src + i + u * W::kLanes)));
    }
  }
  for (; i + W::kLanes <= n; i += W::kLanes) {
    W::Store(dst + i, step(W{}, W::Load(src + i)));
  }
  if constexpr (W::kLanes > 2) {
    if (i + 2 <= n) {
      D2::Store(dst + i, step(D2{}, D2::Load(src + i)));
      i += 2;
    }
  }
  for (; i < n; ++i) {
    D2::Store1(dst + i, step(D2{}, D2::Load1(src + i)));
  }
}

// NaN repair pass: every element whose source is a NaN of either sign becomes 0.
template <typename Out>
void RepairNaNsToZero(const float* src, Out* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if ((FloatBits(src[i]) & 0x7FFFFFFFu) > 0x7F800000u) {
      dst[i] = 0;
    }
  }
}
void RepairNaNsToZero(const double* src, int32_t* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if ((DoubleBits(src[i]) & 0x7FFFFFFFFFFFFFFFull) > 0x7FF0000000000000ull) {
      dst[i] = 0;
    }
  }
}

// Register handling of the nearest-or-truncating roads of classes 1 to 7.
// Entry returns the caller's register; the work register is set for the road.
enum class RegisterRule { kSse, kSsse3, kAvx };

uint32_t EnterRoundingRoad(RegisterRule rule, bool nearest) {
  const uint32_t saved = _mm_getcsr();
  switch (rule) {
    case RegisterRule::kSse:
      // Nearest: round to nearest with denormals-are-zero off; truncation needs nothing.
      if (nearest && (saved & kMxRoundingControl) != 0) {
        _mm_setcsr(saved & ~(kMxRoundingControl | kMxDenormalsAreZero));
      }
      break;
    case RegisterRule::kSsse3:
      // The invalid flag is cleared too, so that the repair pass answers for this call's work only.
      if (nearest && (saved & (kMxRoundingControl | kMxInvalidFlag)) != 0) {
        _mm_setcsr(saved & ~(kMxRoundingControl | kMxDenormalsAreZero | kMxInvalidFlag));
      } else if (!nearest && (saved & kMxInvalidFlag) != 0) {
        _mm_setcsr(saved & ~(kMxDenormalsAreZero | kMxInvalidFlag));
      }
      break;
    case RegisterRule::kAvx:
      // The invalid-operation exception is masked for the work.
      if (nearest && ((saved & kMxRoundingControl) != 0 || (saved & kMxInvalidMask) == 0)) {
        _mm_setcsr((saved & ~kMxRoundingControl) | kMxInvalidMask);
      } else if (!nearest && (saved & kMxInvalidMask) == 0) {
        _mm_setcsr(saved | kMxInvalidMask);
      }
      break;
  }
  return saved;
}

// Sets truncation (and, for the AVX classes, the invalid mask) for a half-away road.
void EnterTowardZero(uint32_t saved, bool clearDenormalsAreZero, bool maskInvalid) {
  uint32_t work = saved | kMxTowardZero;
  if (clearDenormalsAreZero) {
    work &= ~kMxDenormalsAreZero;
  }
  if (maskInvalid) {
    work |= kMxInvalidMask;
  }
  if (work != saved) {
    _mm_setcsr(work);
  }
}

// Was the invalid-operation flag raised (or left set) when the work ended?
inline bool InvalidAtExit() { return (_mm_getcsr() & kMxInvalidFlag) != 0; }

// ----- float -> int16 ------------------------------------------------------

// Class 0, nearest and truncating: both clamps take the value second, so a
// NaN passes them and converts to the integer indefinite, whose low 16 bits
// (all that is stored) are 0.
template <bool kNearest>
struct StepI16Clamp0 {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::V c = S::Max(S::Set(-32768.0f), S::Min(S::Set(32767.0f), y));
    const typename S::I r = kNearest ? S::Cvt(c) : S::Cvtt(c);
    return S::SraI(S::SllI(r, 16), 16);  // the low 16 bits, sign-extended for the pack
  }
};

// Class 0, half away from zero in integers: r = (trunc(2|c|) + 1) >> 1 with the sign of c.
struct StepI16HalfAway0 {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::V c = S::Max(S::Set(-32768.0f), S::Min(S::Set(32767.0f), y));
    const typename S::I negative = S::Bits(S::CmpLt(c, S::Set(0.0f)));
    const typename S::V twice = S::And(S::Add(c, c), S::Set(_mm_cvtss_f32(_mm_castsi128_ps(_mm_cvtsi32_si128(0x7FFFFFFF)))));
    const typename S::I t = S::Cvtt(twice);
    const typename S::I r = S::SraI(S::AddI(t, S::SetI(1)), 1);
    const typename S::I signedR = S::SubI(S::XorI(r, negative), negative);
    return S::SraI(S::SllI(signedR, 16), 16);
  }
};

// Classes 1 to 4 (min with the bound second: a NaN becomes 32767, then the
// repair pass), class 2 (no clamp), classes 5 to 7 (min with the value
// second: a NaN passes and packs to -32768).
enum class ClampOrder { kBoundSecond, kValueSecond, kNone };

template <bool kNearest, ClampOrder kOrder>
struct StepI16Round {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    if constexpr (kOrder == ClampOrder::kBoundSecond) {
      y = S::Min(y, S::Set(32767.0f));
    } else if constexpr (kOrder == ClampOrder::kValueSecond) {
      y = S::Min(S::Set(32767.0f), y);
    }
    return kNearest ? S::Cvt(y) : S::Cvtt(y);
  }
};

// Half away from zero under truncation: |c| + 0.5 cannot round up across an integer.
template <ClampOrder kOrder>
struct StepI16HalfAway {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    y = kOrder == ClampOrder::kBoundSecond ? S::Min(y, S::Set(32767.0f)) : S::Min(S::Set(32767.0f), y);
    const typename S::V sign = S::And(y, S::Set(-0.0f));
    typename S::V z;
    if constexpr (kOrder == ClampOrder::kBoundSecond) {
      const typename S::V magnitude = S::And(y, S::Set(_mm_cvtss_f32(_mm_castsi128_ps(_mm_cvtsi32_si128(0x7FFFFFFF)))));
      z = S::Or(S::Add(magnitude, S::Set(0.5f)), sign);
    } else {
      z = S::Add(y, S::Or(S::Set(0.5f), sign));
    }
    return S::Cvtt(z);
  }
};

// The class-2 repair pass: a non-negative source at or above 2^(31+s) (the
// sources whose product reached 2^31), +infinity or a NaN with the sign bit
// clear came out as -32768; a NaN becomes 0, everything else 32767.
void RepairOverflowsInt16(const float* src, int16_t* dst, int32_t n, int32_t s) {
  int64_t e = int64_t{s} + 158;
  e = e < 0 ? 0 : (e > 254 ? 254 : e);
  const int32_t threshold = static_cast<int32_t>(e << 23);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t b = static_cast<int32_t>(FloatBits(src[i]));
    if (b >= threshold && dst[i] == -32768) {
      dst[i] = b > 0x7F800000 ? 0 : 32767;
    }
  }
}

int32_t ConvertScaledFloat32ToInt16(const float* src, int16_t* dst, int32_t n, int32_t mode, int32_t s) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  const bool scaled = s != 0;
  const bool halfAway = mode != RoundTowardZero && mode != RoundNearestEven;
  const bool nearest = mode == RoundNearestEven;
  if constexpr (kClass == 0) {
    // The register is neither read nor written.
    const float f = scaled ? HalvingFactor(s) : 1.0f;
    if (halfAway) {
      DriveFloat32<F4, 1>(src, dst, n, Prologue::kSource16, StepI16HalfAway0{scaled, f});
    } else if (nearest) {
      DriveFloat32<F4, 2>(src, dst, n, Prologue::kSource16, StepI16Clamp0<true>{f != 1.0f, f});
    } else {
      DriveFloat32<F4, 2>(src, dst, n, Prologue::kSource16, StepI16Clamp0<false>{scaled, f});
    }
  } else if constexpr (kClass <= 4) {
    if (halfAway) {
      // Truncation is set before the factor is built, so a factor that
      // overflows becomes the largest finite float.
      const uint32_t saved = _mm_getcsr();
      EnterTowardZero(saved, false, false);
      const float f = scaled ? HalvingFactor(s) : 1.0f;
      DriveFloat32<F4, 2>(src, dst, n, Prologue::kSource16, StepI16HalfAway<ClampOrder::kBoundSecond>{scaled, f});
      RestoreCallerMxcsr(saved);
    } else if constexpr (kClass == 2) {
      const float f = scaled ? ExponentFactor32(s) : 1.0f;
      const uint32_t saved = EnterRoundingRoad(RegisterRule::kSsse3, nearest);
      // Unscaled: blocks of 16, prefetching 512 bytes ahead on long arrays; scaled: blocks of 32.
      const StepI16Round<true, ClampOrder::kNone> near{scaled, f};
      const StepI16Round<false, ClampOrder::kNone> trunc{scaled, f};
      if (scaled) {
        nearest ? DriveFloat32<F4, 8>(src, dst, n, Prologue::kDestination16, near)
                : DriveFloat32<F4, 8>(src, dst, n, Prologue::kDestination16, trunc);
      } else {
        nearest ? DriveFloat32<F4, 4>(src, dst, n, Prologue::kDestination16, near, {512, 2048})
                : DriveFloat32<F4, 4>(src, dst, n, Prologue::kDestination16, trunc, {512, 2048});
      }
      const bool invalid = InvalidAtExit();
      RestoreCallerMxcsr(saved);
      if (invalid) {
        RepairOverflowsInt16(src, dst, n, s);
      }
    } else {
      const uint32_t saved = _mm_getcsr();
      const float f = scaled ? HalvingFactor(s) : 1.0f;  // under the caller's rounding
      EnterRoundingRoad(RegisterRule::kSse, nearest);
      // Class 1: blocks of 8; classes 3 and 4: blocks of 16 prefetching 128 bytes ahead.
      constexpr int kUnroll = kClass == 1 ? 2 : 4;
      const Prefetch pf = kClass == 1 ? Prefetch{} : Prefetch{128, 0};
      if (nearest) {
        DriveFloat32<F4, kUnroll>(src, dst, n, Prologue::kDestination16,
                                  StepI16Round<true, ClampOrder::kBoundSecond>{scaled, f}, pf);
      } else {
        DriveFloat32<F4, kUnroll>(src, dst, n, Prologue::kDestination16,
                                  StepI16Round<false, ClampOrder::kBoundSecond>{scaled, f}, pf);
      }
      const bool invalid = InvalidAtExit();
      RestoreCallerMxcsr(saved);
      if (invalid) {
        RepairNaNsToZero(src, dst, n);
      }
    }
  } else {
#if defined(__AVX2__)
    const float f = scaled ? ExponentFactor32(s) : 1.0f;
    const uint32_t saved = _mm_getcsr();
    if (halfAway) {
      EnterTowardZero(saved, false, true);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI16HalfAway<ClampOrder::kValueSecond>{scaled, f});
    } else if (nearest) {
      EnterRoundingRoad(RegisterRule::kAvx, true);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI16Round<true, ClampOrder::kValueSecond>{scaled, f});
    } else {
      EnterRoundingRoad(RegisterRule::kAvx, false);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI16Round<false, ClampOrder::kValueSecond>{scaled, f});
    }
    RestoreCallerMxcsr(saved);
#endif
  }
  return StatusOk;
}

// ----- float -> int32 ------------------------------------------------------

// The bit pattern of 2147483520.0, the largest float below 2^31: a lane whose
// bits, as a signed integer, exceed it is at least 2^31, +infinity or a NaN
// with the sign bit clear.
constexpr int32_t kBelowTwoTo31Bits = 0x4EFFFFFF;

template <class S>
typename S::I SaturateByMask(typename S::I converted, typename S::V value) {
  return S::XorI(converted, S::CmpGtI(S::Bits(value), S::SetI(kBelowTwoTo31Bits)));
}

// Class 0, nearest and truncating: above 2147483520.0 gives 2147483647 at
// once; everything else is clamped (value second, so a NaN passes) and converted.
template <bool kNearest>
struct StepI32Clamp0 {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::I above = S::Bits(S::CmpGt(y, S::Set(2147483520.0f)));
    const typename S::V c = S::Min(S::Set(2147483520.0f), S::Max(S::Set(-2147483648.0f), y));
    const typename S::I r = kNearest ? S::Cvt(c) : S::Cvtt(c);
    return S::OrI(S::AndNotI(above, r), S::AndI(above, S::SetI(0x7FFFFFFF)));
  }
};

// Class 0, half away from zero in double precision: the product is exact, the
// clamps take the value second, and |d| + 0.5 is exact for every float-derived
// d, so the sum never rounds across an integer.
struct StepI32HalfAway0 {
  bool scaled;
  double factor;
  __m128i operator()(const float* p, int32_t count) const {
    __m128d d = count == 2 ? _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))))
                           : _mm_cvtps_pd(_mm_load_ss(p));
    if (scaled) {
      d = _mm_mul_pd(d, _mm_set1_pd(factor));
    }
    d = _mm_max_pd(_mm_set1_pd(-2147483648.0), _mm_min_pd(_mm_set1_pd(2147483647.0), d));
    const __m128d negative = _mm_cmplt_pd(d, _mm_setzero_pd());
    const __m128d half = _mm_or_pd(_mm_and_pd(negative, _mm_set1_pd(-0.5)), _mm_andnot_pd(negative, _mm_set1_pd(0.5)));
    return _mm_cvttpd_epi32(_mm_add_pd(d, half));
  }
};

template <bool kNearest, bool kSaturate>
struct StepI32Round {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::I r = kNearest ? S::Cvt(y) : S::Cvtt(y);
    if constexpr (kSaturate) {
      return SaturateByMask<S>(r, y);
    } else {
      return r;
    }
  }
};

// Classes 1 to 4: |y| + 0.5 under truncation, the sign put back.
struct StepI32HalfAwaySse {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::V sign = S::And(y, S::Set(-0.0f));
    const typename S::V magnitude = S::And(y, S::Set(_mm_cvtss_f32(_mm_castsi128_ps(_mm_cvtsi32_si128(0x7FFFFFFF)))));
    const typename S::V z = S::Or(S::Add(magnitude, S::Set(0.5f)), sign);
    return SaturateByMask<S>(S::Cvtt(z), z);
  }
};

#if defined(__FMA__)
// Classes 5 to 7: one fused x * factor + h under truncation, h = 0.5 with the sign of the product.
struct StepI32HalfAwayFma {
  bool scaled;
  float factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    typename S::V z;
    if (scaled) {
      const typename S::V f = S::Set(factor);
      const typename S::V h = S::Or(S::Set(0.5f), S::And(S::Mul(x, f), S::Set(-0.0f)));
      z = S::Fma(x, f, h);
    } else {
      z = S::Add(x, S::Or(S::Set(0.5f), S::And(x, S::Set(-0.0f))));
    }
    return SaturateByMask<S>(S::Cvtt(z), z);
  }
};
#endif

// The class-2 repair pass: results equal to -2147483648 whose source has the
// sign bit clear were overflows (2147483647) or NaNs (0).
void RepairOverflowsInt32(const float* src, int32_t* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (dst[i] == static_cast<int32_t>(0x80000000u)) {
      const int32_t b = static_cast<int32_t>(FloatBits(src[i]));
      if (b > 0x7F800000) {
        dst[i] = 0;
      } else if (b >= 0) {
        dst[i] = 0x7FFFFFFF;
      }
    }
  }
}

int32_t ConvertScaledFloat32ToInt32(const float* src, int32_t* dst, int32_t n, int32_t mode, int32_t s) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  const bool scaled = s != 0;
  const bool halfAway = mode != RoundTowardZero && mode != RoundNearestEven;
  const bool nearest = mode == RoundNearestEven;
  if constexpr (kClass == 0) {
    const float f = scaled ? HalvingFactor(s) : 1.0f;
    if (halfAway) {
      const StepI32HalfAway0 step{scaled, static_cast<double>(f)};
      int32_t i = 0;
      for (; i + 2 <= n; i += 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i), step(src + i, 2));
      }
      if (i < n) {
        dst[i] = _mm_cvtsi128_si32(step(src + i, 1));
      }
    } else {
      const Prologue prologue = scaled ? Prologue::kDestination16 : Prologue::kSource16;
      if (nearest) {
        DriveFloat32<F4, 1>(src, dst, n, prologue, StepI32Clamp0<true>{scaled, f});
      } else {
        DriveFloat32<F4, 1>(src, dst, n, prologue, StepI32Clamp0<false>{scaled, f});
      }
    }
  } else if constexpr (kClass <= 4) {
    if (halfAway) {
      const uint32_t saved = _mm_getcsr();
      const float f = scaled ? HalvingFactor(s) : 1.0f;  // under the caller's rounding
      EnterTowardZero(saved, true, false);
      DriveFloat32<F4, 2>(src, dst, n, Prologue::kDestination16, StepI32HalfAwaySse{scaled, f});
      RestoreCallerMxcsr(saved);
    } else if constexpr (kClass == 2) {
      const float f = scaled ? ExponentFactor32(s) : 1.0f;
      const uint32_t saved = EnterRoundingRoad(RegisterRule::kSsse3, nearest);
      // Unscaled: blocks of 16, prefetching 512 bytes ahead on long arrays; scaled: blocks of 32.
      const StepI32Round<true, false> near{scaled, f};
      const StepI32Round<false, false> trunc{scaled, f};
      if (scaled) {
        nearest ? DriveFloat32<F4, 8>(src, dst, n, Prologue::kDestination16, near)
                : DriveFloat32<F4, 8>(src, dst, n, Prologue::kDestination16, trunc);
      } else {
        nearest ? DriveFloat32<F4, 4>(src, dst, n, Prologue::kDestination16, near, {512, 2048})
                : DriveFloat32<F4, 4>(src, dst, n, Prologue::kDestination16, trunc, {512, 2048});
      }
      const bool invalid = InvalidAtExit();
      RestoreCallerMxcsr(saved);
      if (invalid) {
        RepairOverflowsInt32(src, dst, n);
      }
    } else {
      const uint32_t saved = _mm_getcsr();
      const float f = scaled ? HalvingFactor(s) : 1.0f;
      EnterRoundingRoad(RegisterRule::kSse, nearest);
      if (nearest) {
        DriveFloat32<F4, 2>(src, dst, n, Prologue::kDestination16, StepI32Round<true, true>{scaled, f});
      } else {
        DriveFloat32<F4, 2>(src, dst, n, Prologue::kDestination16, StepI32Round<false, true>{scaled, f});
      }
      const bool invalid = InvalidAtExit();
      RestoreCallerMxcsr(saved);
      if (invalid) {
        RepairNaNsToZero(src, dst, n);
      }
    }
  } else {
#if defined(__AVX2__) && defined(__FMA__)
    const float f = scaled ? ExponentFactor32(s) : 1.0f;
    const uint32_t saved = _mm_getcsr();
    if (halfAway) {
      EnterTowardZero(saved, false, true);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI32HalfAwayFma{scaled, f});
    } else if (nearest) {
      EnterRoundingRoad(RegisterRule::kAvx, true);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI32Round<true, true>{scaled, f});
    } else {
      EnterRoundingRoad(RegisterRule::kAvx, false);
      DriveFloat32<F8, 4>(src, dst, n, Prologue::kNone, StepI32Round<false, true>{scaled, f});
    }
    RestoreCallerMxcsr(saved);
#endif
  }
  return StatusOk;
}

// ----- double -> int32 -----------------------------------------------------

// Class 0 and class 4 (nearest, truncating): both bounds clamped with the
// value second, so a NaN converts to -2147483648.
template <bool kNearest>
struct StepF64Clamp {
  bool scaled;
  double factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    const typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    const typename S::V c = S::Max(S::Set(-2147483648.0), S::Min(S::Set(2147483647.0), y));
    return kNearest ? S::Cvt(c) : S::Cvtt(c);
  }
};

// Class 0, half away from zero, exactly: the clamped value's integer part
// plus one step away from zero when the (exact) fraction is at least one half.
// Adding 0.5 in double precision would round 0.49999999999999994 up to 1.
struct StepF64HalfAway0 {
  bool scaled;
  double factor;
  template <class S>
  __m128i operator()(S, __m128d x) const {
    const __m128d y = scaled ? _mm_mul_pd(x, _mm_set1_pd(factor)) : x;
    const __m128d c = _mm_max_pd(_mm_set1_pd(-2147483648.0), _mm_min_pd(_mm_set1_pd(2147483647.0), y));
    const __m128i t = _mm_cvttpd_epi32(c);
    const __m128d fraction = _mm_sub_pd(c, _mm_cvtepi32_pd(t));
    const __m128i up = _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpge_pd(fraction, _mm_set1_pd(0.5))), 0x08);
    const __m128i down = _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmple_pd(fraction, _mm_set1_pd(-0.5))), 0x08);
    return _mm_add_epi32(_mm_sub_epi32(t, up), down);
  }
};

template <bool kNearest, ClampOrder kOrder>
struct StepF64Round {
  bool scaled;
  double factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    if constexpr (kOrder == ClampOrder::kBoundSecond) {
      y = S::Min(y, S::Set(2147483647.0));
    } else if constexpr (kOrder == ClampOrder::kValueSecond) {
      y = S::Min(S::Set(2147483647.0), y);
    }
    return kNearest ? S::Cvt(y) : S::Cvtt(y);
  }
};

// Classes 1 to 7, half away from zero: min with the bound second (a NaN gives
// 2147483647), |c| + 0.5 under truncation, the sign put back; a value at or
// below -2147483648.5 converts to the integer indefinite, the right bound.
struct StepF64HalfAway {
  bool scaled;
  double factor;
  template <class S>
  typename S::I operator()(S, typename S::V x) const {
    typename S::V y = scaled ? S::Mul(x, S::Set(factor)) : x;
    y = S::Min(y, S::Set(2147483647.0));
    const typename S::V sign = S::And(y, S::Set(-0.0));
    const typename S::V magnitude =
        S::And(y, S::Set(_mm_cvtsd_f64(_mm_castsi128_pd(_mm_cvtsi64_si128(0x7FFFFFFFFFFFFFFFll)))));
    return S::Cvtt(S::Or(S::Add(magnitude, S::Set(0.5)), sign));
  }
};

// The class-2 repair pass: results equal to -2147483648 whose source has the
// sign bit clear were overflows (2147483647) or NaNs (0).
void RepairOverflowsFloat64(const double* src, int32_t* dst, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (dst[i] == static_cast<int32_t>(0x80000000u)) {
      const uint64_t b = DoubleBits(src[i]);
      if ((b >> 63) == 0) {
        dst[i] = b > 0x7FF0000000000000ull ? 0 : 0x7FFFFFFF;
      }
    }
  }
}

int32_t ConvertScaledFloat64ToInt32(const double* src, int32_t* dst, int32_t n, int32_t mode, int32_t s) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  const bool scaled = s != 0;
  const bool halfAway = mode != RoundTowardZero && mode != RoundNearestEven;
  const bool nearest = mode == RoundNearestEven;
  if (halfAway) {
    // Every class builds the factor by repeated halving under the caller's rounding control.
    const double f = scaled ? static_cast<double>(HalvingFactor(s)) : 1.0;
    if constexpr (kClass == 0) {
      DriveFloat64<D2, 1>(src, dst, n, Prologue::kSource16, StepF64HalfAway0{scaled, f});
    } else {
      const uint32_t saved = _mm_getcsr();
      EnterTowardZero(saved, true, false);
      DriveFloat64<D2, 2>(src, dst, n, Prologue::kDestination16, StepF64HalfAway{scaled, f});
      RestoreCallerMxcsr(saved);
    }
    return StatusOk;
  }
  if constexpr (kClass == 0) {
    const double f = scaled ? static_cast<double>(HalvingFactor(s)) : 1.0;
    if (nearest) {
      DriveFloat64<D2, 4>(src, dst, n, Prologue::kSource16, StepF64Clamp<true>{f != 1.0, f});
    } else {
      DriveFloat64<D2, 4>(src, dst, n, Prologue::kSource16, StepF64Clamp<false>{scaled, f});
    }
  } else if constexpr (kClass == 4) {
#if defined(__AVX__)
    const double f = scaled ? static_cast<double>(HalvingFactor(s)) : 1.0;
    if (nearest) {
      DriveFloat64<D4, 4>(src, dst, n, Prologue::kDestination16, StepF64Clamp<true>{f != 1.0, f});
    } else {
      DriveFloat64<D4, 4>(src, dst, n, Prologue::kDestination16, StepF64Clamp<false>{scaled, f});
    }
#endif
  } else if constexpr (kClass == 2) {
    const double f = scaled ? ExponentFactor64(s) : 1.0;
    const uint32_t saved = EnterRoundingRoad(RegisterRule::kSsse3, nearest);
    if (nearest) {
      DriveFloat64<D2, 8>(src, dst, n, Prologue::kDestination16, StepF64Round<true, ClampOrder::kNone>{scaled, f},
                          {512, 2048});
    } else {
      DriveFloat64<D2, 8>(src, dst, n, Prologue::kDestination16, StepF64Round<false, ClampOrder::kNone>{scaled, f},
                          {512, 2048});
    }
    const bool invalid = InvalidAtExit();
    RestoreCallerMxcsr(saved);
    if (invalid) {
      RepairOverflowsFloat64(src, dst, n);
    }
  } else if constexpr (kClass == 1 || kClass == 3) {
    const uint32_t saved = _mm_getcsr();
    const double f = scaled ? static_cast<double>(HalvingFactor(s)) : 1.0;
    EnterRoundingRoad(RegisterRule::kSse, nearest);
    if (nearest) {
      DriveFloat64<D2, 2>(src, dst, n, Prologue::kDestination16,
                          StepF64Round<true, ClampOrder::kBoundSecond>{scaled, f});
    } else {
      DriveFloat64<D2, 2>(src, dst, n, Prologue::kDestination16,
                          StepF64Round<false, ClampOrder::kBoundSecond>{scaled, f});
    }
    const bool invalid = InvalidAtExit();
    RestoreCallerMxcsr(saved);
    if (invalid) {
      RepairNaNsToZero(src, dst, n);
    }
  } else {
#if defined(__AVX2__)
    const double f = scaled ? ExponentFactor64(s) : 1.0;
    const uint32_t saved = EnterRoundingRoad(RegisterRule::kAvx, nearest);
    if (nearest) {
      DriveFloat64<D4, 4>(src, dst, n, Prologue::kNone, StepF64Round<true, ClampOrder::kValueSecond>{scaled, f});
    } else {
      DriveFloat64<D4, 4>(src, dst, n, Prologue::kNone, StepF64Round<false, ClampOrder::kValueSecond>{scaled, f});
    }
    RestoreCallerMxcsr(saved);
#endif
  }
  return StatusOk;
}

// ---------------------------------------------------------------------------
// The plain conversions' implementations: the checks, then the kernel.

template <typename S, typename D>
int32_t CheckPlain(const S* src, D* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  return n <= 0 ? StatusBadCount : StatusOk;
}

int32_t ConvertInt16ToFloat32(const int16_t* src, float* dst, int32_t n) {
  const int32_t status = CheckPlain(src, dst, n);
  if (status == StatusOk) {
    ConvertInt16ToFloat32Kernel(src, dst, n);
  }
  return status;
}
int32_t ConvertInt32ToFloat32(const int32_t* src, float* dst, int32_t n) {
  const int32_t status = CheckPlain(src, dst, n);
  if (status == StatusOk) {
    ConvertInt32ToFloat32Kernel(src, dst, n);
  }
  return status;
}
int32_t ConvertFloat32ToFloat64(const float* src, double* dst, int32_t n) {
  const int32_t status = CheckPlain(src, dst, n);
  if (status == StatusOk) {
    ConvertFloat32ToFloat64Kernel(src, dst, n);
  }
  return status;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorConvertInt16ToFloat32)(const int16_t* src, float* dst, int32_t n) {
  return LV_NS::ConvertInt16ToFloat32(src, dst, n);
}
int32_t LV_NAME(VectorConvertInt32ToFloat32)(const int32_t* src, float* dst, int32_t n) {
  return LV_NS::ConvertInt32ToFloat32(src, dst, n);
}
int32_t LV_NAME(VectorConvertFloat32ToFloat64)(const float* src, double* dst, int32_t n) {
  return LV_NS::ConvertFloat32ToFloat64(src, dst, n);
}
int32_t LV_NAME(VectorConvertScaledFloat32ToInt16)(const float* src, int16_t* dst, int32_t n, int32_t roundingMode,
                                                   int32_t scaleFactor) {
  return LV_NS::ConvertScaledFloat32ToInt16(src, dst, n, roundingMode, scaleFactor);
}
int32_t LV_NAME(VectorConvertScaledFloat32ToInt32)(const float* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                                   int32_t scaleFactor) {
  return LV_NS::ConvertScaledFloat32ToInt32(src, dst, n, roundingMode, scaleFactor);
}
int32_t LV_NAME(VectorConvertScaledFloat64ToInt32)(const double* src, int32_t* dst, int32_t n,
                                                   int32_t roundingMode, int32_t scaleFactor) {
  return LV_NS::ConvertScaledFloat64ToInt32(src, dst, n, roundingMode, scaleFactor);
}
