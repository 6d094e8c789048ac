// SLEEF's u10 sine and cosine at the width of one class, over whole arrays
// (the rest of an array one element at a time with the scalar functions): the
// peers of the sine and cosine benchmarks. Classes 0, 3, 4, 5 and 7 have a
// file, sleef_peer_sse2.cpp ...
#include <sleef.h>

#include "bench/vmath/sincos/sleef_peers.h"
#include "bench/vmath/sleef_width.inl"

#if LV_CLASS == 0
#define LV_SLEEF_SIN Sleef_sinf4_u10sse2
#define LV_SLEEF_COS Sleef_cosf4_u10sse2
#elif LV_CLASS == 3
#define LV_SLEEF_SIN Sleef_sinf4_u10sse4
#define LV_SLEEF_COS Sleef_cosf4_u10sse4
#elif LV_CLASS == 4
#define LV_SLEEF_SIN Sleef_sinf8_u10avx
#define LV_SLEEF_COS Sleef_cosf8_u10avx
#elif LV_CLASS == 5
#define LV_SLEEF_SIN Sleef_sinf8_u10avx2
#define LV_SLEEF_COS Sleef_cosf8_u10avx2
#elif LV_CLASS == 7
#define LV_SLEEF_SIN Sleef_sinf16_u10avx512f
#define LV_SLEEF_COS Sleef_cosf16_u10avx512f
#else
#error "no SLEEF sine and cosine peer for this class"
#endif

void LV_NAME(SleefSin)(const float* src, float* dst, int n) {
  LV_NS::LoopWithTail<&LV_SLEEF_SIN, &Sleef_sinf1_u10purec>(src, dst, n);
}
void LV_NAME(SleefCos)(const float* src, float* dst, int n) {
  LV_NS::LoopWithTail<&LV_SLEEF_COS, &Sleef_cosf1_u10purec>(src, dst, n);
}

#undef LV_SLEEF_SIN
#undef LV_SLEEF_COS
