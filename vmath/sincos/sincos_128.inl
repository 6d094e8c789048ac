// The vector operations of the sine and cosine body on 128-bit SSE2 vectors,
// without fused multiply-add: classes 0 and 1 (classes 2 and 3 run the
// class-1 kernels). Part of the sine and cosine body (sincos_body.inl),
// inside the class namespace.

namespace LV_NS {
namespace {

struct Ops {
  static constexpr int kW = 4;
  static constexpr bool kGather = false;
  static constexpr bool kFused = false;
  typedef float VF __attribute__((vector_size(16)));
  typedef int32_t VI __attribute__((vector_size(16)));
  typedef uint32_t VU __attribute__((vector_size(16)));
  typedef double VD __attribute__((vector_size(16)));
  static VD WidenLo(VF v) { return (VD)_mm_cvtps_pd((__m128)v); }
  static VD WidenHi(VF v) { return (VD)_mm_cvtps_pd(_mm_movehl_ps((__m128)v, (__m128)v)); }
  static VF Narrow(VD lo, VD hi) { return (VF)_mm_movelh_ps(_mm_cvtpd_ps((__m128d)lo), _mm_cvtpd_ps((__m128d)hi)); }
  static uint32_t LaneBits(VI m) { return static_cast<uint32_t>(_mm_movemask_ps((__m128)m)); }
  // Bit l set when a[l] <= b[l] does not hold (also when either is a NaN).
  static uint32_t NotLessEqualBits(VF a, VF b) { return LaneBits(~(VI)(a <= b)); }
};

}  // namespace
}  // namespace LV_NS
