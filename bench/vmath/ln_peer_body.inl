// SLEEF's logf loops at the width of one class (the peers of the logarithm
// benchmark; classes 0, 3, 4, 5 and 7 have a file, ln_peer_sse2.cpp ...).
#include <sleef.h>

#include "bench/vmath/ln_peers.h"
#include "bench/vmath/sleef_width.inl"

#if LV_CLASS == 0
void SleefLnU10Sse2(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf4_u10sse2>(src, dst, n); }
void SleefLnU35Sse2(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf4_u35sse2>(src, dst, n); }
#elif LV_CLASS == 3
void SleefLnU35Sse4(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf4_u35sse4>(src, dst, n); }
#elif LV_CLASS == 4
void SleefLnU35Avx(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf8_u35avx>(src, dst, n); }
#elif LV_CLASS == 5
void SleefLnU35Avx2(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf8_u35avx2>(src, dst, n); }
#elif LV_CLASS == 7
void SleefLnU10Avx512(const float* src, float* dst, int n) { LV_NS::Loop<&Sleef_logf16_u10avx512f>(src, dst, n); }
#else
#error "no SLEEF logf peer for this class"
#endif
