// SLEEF u10 sine and cosine at the width of class 7 (sleef_peer_avx512.cpp0), over whole
// arrays, as the peer of the benchmarks.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include <immintrin.h>

#include <sleef.h>

#include "bench/vmath/sincos/sleef_peers.h"

namespace lv_avx512 {
namespace {

template <bool kCos>
void Run(const float* src, float* dst, int n) {
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m512 x = _mm512_loadu_ps(src + i);
    _mm512_storeu_ps(dst + i, kCos ? Sleef_cosf16_u10avx512f(x) : Sleef_sinf16_u10avx512f(x));
  }
  for (; i < n; ++i) {
    dst[i] = kCos ? Sleef_cosf1_u10purec(src[i]) : Sleef_sinf1_u10purec(src[i]);
  }
}

}  // namespace
}  // namespace lv_avx512

void SleefSinAvx512(const float* src, float* dst, int n) { lv_avx512::Run<false>(src, dst, n); }
void SleefCosAvx512(const float* src, float* dst, int n) { lv_avx512::Run<true>(src, dst, n); }
