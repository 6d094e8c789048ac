// Routines of the portable FFT (processor class 0) that other classes and the
// tests call directly: table builders, scalar bit reversal, the radix-4 stage
// engine and the small-order kernels. All are defined in fft/fft_sse2.cpp.
// None checks its arguments.
#pragma once

#include <cstdint>

#include "fft/fft.h"

// Small-order kernels (orders 0 to 5), reached through the kernel tables of
// the class. A normalising kernel multiplies its result by scale; a plain one
// does not and ignores the specification. Source and destination may be the
// same array; float alignment is enough.
using FftNormalisedKernel = void (*)(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
using FftPlainKernel = void (*)(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);

// Orders 0 and 1 serve both directions.
void FftOrder0NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder0KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder1NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);

#define LV_FFT_SMALL_KERNEL_SSE2(Dir, k)                                                                      \
  void Fft##Dir##Order##k##NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale); \
  void Fft##Dir##Order##k##KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
LV_FFT_SMALL_KERNEL_SSE2(Forward, 2)
LV_FFT_SMALL_KERNEL_SSE2(Forward, 3)
LV_FFT_SMALL_KERNEL_SSE2(Forward, 4)
LV_FFT_SMALL_KERNEL_SSE2(Forward, 5)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, 2)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, 3)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, 4)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, 5)
#undef LV_FFT_SMALL_KERNEL_SSE2

// The class-0 kernel tables, indexed by the order 0..5.
extern const FftNormalisedKernel kFftForwardNormalisedKernelsSse2[6];
extern const FftPlainKernel kFftForwardPlainKernelsSse2[6];
extern const FftNormalisedKernel kFftInverseNormalisedKernelsSse2[6];
extern const FftPlainKernel kFftInversePlainKernelsSse2[6];

// All butterfly stages of an unscaled transform of n = 4 .. 1024 points, in
// place, from bit-reversed order to natural order, with the twiddle triples of
// order log2(n).
void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
