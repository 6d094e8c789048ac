// SLEEF at the vector width of one class (4 floats for classes 0 to 3, 8 for
// classes 4 and 5, 16 for 6 and 7), for the SLEEF peers of the vector-math
// benchmarks: the vector type and array loops over a SLEEF function of that
// width, inside the class namespace.
#include <immintrin.h>

namespace LV_NS {
namespace {

#if LV_CLASS <= 3
using SleefVector = __m128;
constexpr int kSleefLanes = 4;
[[gnu::always_inline]] inline SleefVector LoadU(const float* p) { return _mm_loadu_ps(p); }
[[gnu::always_inline]] inline void StoreU(float* p, SleefVector v) { _mm_storeu_ps(p, v); }
#elif LV_CLASS <= 5
using SleefVector = __m256;
constexpr int kSleefLanes = 8;
[[gnu::always_inline]] inline SleefVector LoadU(const float* p) { return _mm256_loadu_ps(p); }
[[gnu::always_inline]] inline void StoreU(float* p, SleefVector v) { _mm256_storeu_ps(p, v); }
#else
using SleefVector = __m512;
constexpr int kSleefLanes = 16;
[[gnu::always_inline]] inline SleefVector LoadU(const float* p) { return _mm512_loadu_ps(p); }
[[gnu::always_inline]] inline void StoreU(float* p, SleefVector v) { _mm512_storeu_ps(p, v); }
#endif

// dst[i] = kFn(src[i]) with a SLEEF function of this width; n is a multiple
// of 16. (A template over auto: SLEEF declares its functions const, which
// is part of their pointer type.)
template <auto kFn>
void Loop(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += kSleefLanes) {
    StoreU(dst + i, kFn(LoadU(src + i)));
  }
}

// dst[i] = kFn(y[i], x[i]); n is a multiple of 16.
template <auto kFn>
void Loop2(const float* y, const float* x, float* dst, int n) {
  for (int i = 0; i < n; i += kSleefLanes) {
    StoreU(dst + i, kFn(LoadU(y + i), LoadU(x + i)));
  }
}

// dst[i] = kFn(src[i]) for any n: whole vectors, then the rest one element at
// a time with kOne.
template <auto kFn, auto kOne>
void LoopWithTail(const float* src, float* dst, int n) {
  int i = 0;
  for (; i + kSleefLanes <= n; i += kSleefLanes) {
    StoreU(dst + i, kFn(LoadU(src + i)));
  }
  for (; i < n; ++i) {
    dst[i] = kOne(src[i]);
  }
}

}  // namespace
}  // namespace LV_NS
