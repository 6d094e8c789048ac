// SLEEF u10 sine and cosine at the width of class 3 (sleef_peer_sse42.cpp0), over whole
// arrays, as the peer of the benchmarks.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(3);

#include <immintrin.h>

#include <sleef.h>

#include "bench/vmath/sincos/sleef_peers.h"

namespace lv_sse42 {
namespace {

template <bool kCos>
void Run(const float* src, float* dst, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128 x = _mm_loadu_ps(src + i);
    _mm_storeu_ps(dst + i, kCos ? Sleef_cosf4_u10sse4(x) : Sleef_sinf4_u10sse4(x));
  }
  for (; i < n; ++i) {
    dst[i] = kCos ? Sleef_cosf1_u10purec(src[i]) : Sleef_sinf1_u10purec(src[i]);
  }
}

}  // namespace
}  // namespace lv_sse42

void SleefSinSse4(const float* src, float* dst, int n) { lv_sse42::Run<false>(src, dst, n); }
void SleefCosSse4(const float* src, float* dst, int n) { lv_sse42::Run<true>(src, dst, n); }
