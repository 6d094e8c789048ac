// Large-order drivers of the 256-bit classes (4, 5, 6 and 7; class 4 without fused products),
// forward and inverse, orders 19 to 28 (body: fft/large_order_impl.h).
// Driver (spec, src, dst, order, work): spec initialised by the same class
// for this order; src and dst the same array or disjoint, N points each, the
// source only read when they differ; work 64-byte aligned, of the size the
// specification reports. The result is in natural order as interleaved points,
// scaled once per point when the direction's scale flag is set.
// Level (spec, data, order, depth, work): steps 2 and 3 of the driver on data
// already in bit-reversed order, with the column-pass twiddles of that depth;
// depth 0 returns interleaved points, any other depth the grouped layout.
#pragma once

#include <cstdint>

#include "fft/setup/fft_spec.h"
#include "primitives/vector_types.h"

#define LV_FFT_DECLARE_LARGE_ORDER(Sfx)                                                                      \
  void FftForwardLargeOrder##Sfx(const FftSpecComplexFloat32* spec, const ComplexFloat32* src,              \
                                 ComplexFloat32* dst, int32_t order, uint8_t* work);                          \
  void FftInverseLargeOrder##Sfx(const FftSpecComplexFloat32* spec, const ComplexFloat32* src,              \
                                 ComplexFloat32* dst, int32_t order, uint8_t* work);                          \
  void FftForwardLargeOrderLevel##Sfx(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order, \
                                      int32_t depth, uint8_t* work);                                          \
  void FftInverseLargeOrderLevel##Sfx(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order, \
                                      int32_t depth, uint8_t* work);

// Classes 2 and 3: orders 18 to 28, order 18 reversed whole through the
// complete swap list, sub-transforms above order 17 through one level.
LV_FFT_DECLARE_LARGE_ORDER(Ssse3)
LV_FFT_DECLARE_LARGE_ORDER(Sse42)

LV_FFT_DECLARE_LARGE_ORDER(Avx)
LV_FFT_DECLARE_LARGE_ORDER(Avx2)
LV_FFT_DECLARE_LARGE_ORDER(Avx512ManyCore)
LV_FFT_DECLARE_LARGE_ORDER(Avx512)
LV_FFT_DECLARE_LARGE_ORDER(Sse3)

#undef LV_FFT_DECLARE_LARGE_ORDER
