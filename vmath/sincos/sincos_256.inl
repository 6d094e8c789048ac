// The vector operations of the sine and cosine body on 256-bit AVX vectors:
// classes 4 and 5; class 5 fuses multiply-adds. Part of the sine and cosine
// body (sincos_body.inl), inside the class namespace.

namespace LV_NS {
namespace {

struct Ops {
  static constexpr int kW = 8;
  static constexpr bool kGather = false;
  static constexpr bool kFused = kClass == 5;
  typedef float VF __attribute__((vector_size(32)));
  typedef int32_t VI __attribute__((vector_size(32)));
  typedef uint32_t VU __attribute__((vector_size(32)));
  typedef double VD __attribute__((vector_size(32)));
  static VD WidenLo(VF v) { return (VD)_mm256_cvtps_pd(_mm256_castps256_ps128((__m256)v)); }
  static VD WidenHi(VF v) { return (VD)_mm256_cvtps_pd(_mm256_extractf128_ps((__m256)v, 1)); }
  static VF Narrow(VD lo, VD hi) {
    return (VF)_mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps((__m256d)lo)), _mm256_cvtpd_ps((__m256d)hi), 1);
  }
  static uint32_t LaneBits(VI m) { return static_cast<uint32_t>(_mm256_movemask_ps((__m256)m)); }
  // Bit l set when a[l] <= b[l] does not hold (also when either is a NaN).
  static uint32_t NotLessEqualBits(VF a, VF b) { return LaneBits(~(VI)(a <= b)); }
#if LV_CLASS == 5
  static VF FmaF(VF a, VF b, VF c) { return (VF)_mm256_fmadd_ps((__m256)a, (__m256)b, (__m256)c); }
  static VD FmaD(VD a, VD b, VD c) { return (VD)_mm256_fmadd_pd((__m256d)a, (__m256d)b, (__m256d)c); }
  // c - a*b rounded once (the same bits as FmaD(-a, b, c), without the negation).
  static VD FnmaD(VD a, VD b, VD c) { return (VD)_mm256_fnmadd_pd((__m256d)a, (__m256d)b, (__m256d)c); }
#endif
};

}  // namespace
}  // namespace LV_NS
