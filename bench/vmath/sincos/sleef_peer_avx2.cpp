// SLEEF u10 sine and cosine at the width of class 5 (sleef_peer_avx2.cpp0), over whole
// arrays, as the peer of the benchmarks.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include <immintrin.h>

#include <sleef.h>

#include "bench/vmath/sincos/sleef_peers.h"

namespace lv_avx2 {
namespace {

template <bool kCos>
void Run(const float* src, float* dst, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256 x = _mm256_loadu_ps(src + i);
    _mm256_storeu_ps(dst + i, kCos ? Sleef_cosf8_u10avx2(x) : Sleef_sinf8_u10avx2(x));
  }
  for (; i < n; ++i) {
    dst[i] = kCos ? Sleef_cosf1_u10purec(src[i]) : Sleef_sinf1_u10purec(src[i]);
  }
}

}  // namespace
}  // namespace lv_avx2

void SleefSinAvx2(const float* src, float* dst, int n) { lv_avx2::Run<false>(src, dst, n); }
void SleefCosAvx2(const float* src, float* dst, int n) { lv_avx2::Run<true>(src, dst, n); }
