// The vector operations of the sine and cosine body on 512-bit vectors with
// fused multiply-add, from AVX-512 Foundation instructions only (so class 6
// can use them as they are): classes 6 and 7. Part of the sine and cosine
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
  static VD WidenLo(VF v) { return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7), VD); }
  static VD WidenHi(VF v) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15), VD);
  }
  static VF Narrow(VD lo, VD hi) {
    return __builtin_shufflevector(__builtin_convertvector(lo, VH), __builtin_convertvector(hi, VH), 0, 1, 2, 3, 4, 5, 6, 7,
                                   8, 9, 10, 11, 12, 13, 14, 15);
  }
  static uint32_t LaneBits(VI m) { return static_cast<uint32_t>(_mm512_test_epi32_mask((__m512i)m, (__m512i)m)); }
  static VU Gather(const uint32_t* base, VU idx) { return (VU)_mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, (__m512i)idx, base, 4); }
  static VF FmaF(VF a, VF b, VF c) { return (VF)_mm512_fmadd_ps((__m512)a, (__m512)b, (__m512)c); }
  static VD FmaD(VD a, VD b, VD c) { return (VD)_mm512_fmadd_pd((__m512d)a, (__m512d)b, (__m512d)c); }
};

}  // namespace
}  // namespace LV_NS
