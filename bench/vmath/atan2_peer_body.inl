// SLEEF's atan2 loops at the width of one class (the peers of the arctangent
// benchmark; classes 0, 3, 4, 5 and 7 have a file, atan2_peer_sse2.cpp ...).
#include <sleef.h>

#include "bench/vmath/atan2_peers.h"
#include "bench/vmath/sleef_width.inl"

#if LV_CLASS == 0
void SleefAtan2U10Sse2(const float* y, const float* x, float* dst, int n) { LV_NS::Loop2<&Sleef_atan2f4_u10sse2>(y, x, dst, n); }
void SleefAtan2U35Sse2(const float* y, const float* x, float* dst, int n) { LV_NS::Loop2<&Sleef_atan2f4_u35sse2>(y, x, dst, n); }
#elif LV_CLASS == 3
void SleefAtan2U35Sse4(const float* y, const float* x, float* dst, int n) { LV_NS::Loop2<&Sleef_atan2f4_u35sse4>(y, x, dst, n); }
#elif LV_CLASS == 4
void SleefAtan2U35Avx(const float* y, const float* x, float* dst, int n) { LV_NS::Loop2<&Sleef_atan2f8_u35avx>(y, x, dst, n); }
#elif LV_CLASS == 5
void SleefAtan2U35Avx2(const float* y, const float* x, float* dst, int n) { LV_NS::Loop2<&Sleef_atan2f8_u35avx2>(y, x, dst, n); }
#elif LV_CLASS == 7
void SleefAtan2U35Avx512(const float* y, const float* x, float* dst, int n) {
  LV_NS::Loop2<&Sleef_atan2f16_u35avx512f>(y, x, dst, n);
}
#else
#error "no SLEEF atan2 peer for this class"
#endif
