// SLEEF u10 sine and cosine at the width of class 0 (sleef_peer_sse2.cpp0), over whole
// arrays, as the peer of the benchmarks.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include <immintrin.h>

#include <sleef.h>

#include "bench/vmath/sincos/sleef_peers.h"

namespace lv_sse2 {
namespace {

template <bool kCos>
void Run(const float* src, float* dst, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128 x = _mm_loadu_ps(src + i);
    _mm_storeu_ps(dst + i, kCos ? Sleef_cosf4_u10sse2(x) : Sleef_sinf4_u10sse2(x));
  }
  for (; i < n; ++i) {
    dst[i] = kCos ? Sleef_cosf1_u10purec(src[i]) : Sleef_sinf1_u10purec(src[i]);
  }
}

}  // namespace
}  // namespace lv_sse2

void SleefSinSse2(const float* src, float* dst, int n) { lv_sse2::Run<false>(src, dst, n); }
void SleefCosSse2(const float* src, float* dst, int n) { lv_sse2::Run<true>(src, dst, n); }
