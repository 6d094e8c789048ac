// The vector operations of the sine and cosine body on 512-bit vectors with
// fused multiply-add: classes 6 and 7. AVX-512 Foundation instructions only,
// but for the moves of eight-float halves, which class 7 makes with the DQ
// extension's eight-float extraction and insertion and class 6 with the
// Foundation's 256-bit ones (the same bits). Part of the sine and cosine
// body (sincos_body.inl), inside the class namespace.

namespace LV_NS {
namespace {

struct Ops {
  static constexpr int kW = 16;
  static constexpr bool kGather = true;
  static constexpr bool kFused = true;
  typedef float VF __attribute__((vector_size(64)));
  typedef int32_t VI __attribute__((vector_size(64)));
  typedef uint32_t VU __attribute__((vector_size(64)));
  typedef double VD __attribute__((vector_size(64)));
  typedef float VH __attribute__((vector_size(32)));
  // One instruction per widening: the low half converts straight from the
  // register's lower 256 bits, the upper half is moved down first (class 7 by
  // the DQ extraction of eight floats, class 6 by the Foundation's 256-bit
  // extraction, the same bits).
  static VD WidenLo(VF v) { return (VD)_mm512_cvtps_pd(_mm512_castps512_ps256((__m512)v)); }
  static VD WidenHi(VF v) {
#if LV_CLASS == 7
    return (VD)_mm512_cvtps_pd(_mm512_extractf32x8_ps((__m512)v, 1));
#else
    return (VD)_mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd((__m512)v), 1)));
#endif
  }
  static VF Narrow(VD lo, VD hi) {
    const __m256 l = _mm512_cvtpd_ps((__m512d)lo);
    const __m256 h = _mm512_cvtpd_ps((__m512d)hi);
#if LV_CLASS == 7
    return (VF)_mm512_insertf32x8(_mm512_castps256_ps512(l), h, 1);
#else
    return (VF)_mm512_castpd_ps(_mm512_insertf64x4(_mm512_castps_pd(_mm512_castps256_ps512(l)), _mm256_castps_pd(h), 1));
#endif
  }
  static uint32_t LaneBits(VI m) { return static_cast<uint32_t>(_mm512_test_epi32_mask((__m512i)m, (__m512i)m)); }
  // Bit l set when a[l] <= b[l] does not hold (also when either is a NaN),
  // straight from the compare into a mask register.
  static uint32_t NotLessEqualBits(VF a, VF b) {
    return static_cast<uint32_t>(_mm512_cmp_ps_mask((__m512)a, (__m512)b, _CMP_NLE_UQ));
  }
  static VU Gather(const uint32_t* base, VU idx) { return (VU)_mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, (__m512i)idx, base, 4); }
  static VF FmaF(VF a, VF b, VF c) { return (VF)_mm512_fmadd_ps((__m512)a, (__m512)b, (__m512)c); }
  static VD FmaD(VD a, VD b, VD c) { return (VD)_mm512_fmadd_pd((__m512d)a, (__m512d)b, (__m512d)c); }
  // c - a*b rounded once (the same bits as FmaD(-a, b, c), without the negation).
  static VD FnmaD(VD a, VD b, VD c) { return (VD)_mm512_fnmadd_pd((__m512d)a, (__m512d)b, (__m512d)c); }
};

}  // namespace
}  // namespace LV_NS
