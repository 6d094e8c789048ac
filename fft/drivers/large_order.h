// The large-order drivers, forward and inverse, of every class (body:
// fft/drivers/large_order_body.inl; limits and borrowed kernels: the class
// table). Orders: class 0 11 to 27, class 1 17 to 28, classes 2 and 3 18 to 28,
// classes 4 to 7 19 to 28.
//
// Driver (spec, src, dst, order, work): an FFT plan built by the same class
// for this order; src and dst the same array or disjoint, N points each, the
// source only read when they differ; work 64-byte aligned, of the size the plan
// reports (class 0: null when the plan needs none). The result is in natural
// order as interleaved points, scaled once per point when the direction's
// scale flag is set.
// Level (spec, data, order, depth, work): the rows and columns of one level on
// data already in bit-reversed order, with the column twiddles of that depth;
// on classes 1 to 7 depth 0 returns interleaved points, any other depth the
// grouped layout.
//
// Class 0 runs its scalar radix-4 stages and combine passes; classes 1 to 7
// their in-place butterfly kernel, column passes and tile moves (class 4
// without fused products; class 6 on the class-5 kernels and passes, through
// its own forwarding names). Classes 1 to 3 reverse the whole array through
// the complete swap list below their blocked threshold (class 1: order 20,
// classes 2 and 3: order 19), 64 x 64 tiles from it on.
#pragma once

#include <cstdint>

#include "fft/setup/fft_spec.h"
#include "primitives/vector_types.h"

void FftForwardLargeOrderSse2(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                              int32_t order, ComplexFloat32* work);
void FftInverseLargeOrderSse2(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                              int32_t order, ComplexFloat32* work);
void FftForwardLargeOrderLevelSse2(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                   int32_t depth, ComplexFloat32* work);
void FftInverseLargeOrderLevelSse2(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                   int32_t depth, ComplexFloat32* work);

#define LV_FFT_DECLARE_LARGE_ORDER(Sfx)                                                                      \
  void FftForwardLargeOrder##Sfx(const FftSpecComplexFloat32* spec, const ComplexFloat32* src,              \
                                 ComplexFloat32* dst, int32_t order, uint8_t* work);                          \
  void FftInverseLargeOrder##Sfx(const FftSpecComplexFloat32* spec, const ComplexFloat32* src,              \
                                 ComplexFloat32* dst, int32_t order, uint8_t* work);                          \
  void FftForwardLargeOrderLevel##Sfx(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order, \
                                      int32_t depth, uint8_t* work);                                          \
  void FftInverseLargeOrderLevel##Sfx(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order, \
                                      int32_t depth, uint8_t* work);

LV_FFT_DECLARE_LARGE_ORDER(Sse3)
LV_FFT_DECLARE_LARGE_ORDER(Ssse3)
LV_FFT_DECLARE_LARGE_ORDER(Sse42)
LV_FFT_DECLARE_LARGE_ORDER(Avx)
LV_FFT_DECLARE_LARGE_ORDER(Avx2)
LV_FFT_DECLARE_LARGE_ORDER(Avx512ManyCore)
LV_FFT_DECLARE_LARGE_ORDER(Avx512)

#undef LV_FFT_DECLARE_LARGE_ORDER
