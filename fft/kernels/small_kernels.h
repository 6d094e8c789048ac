// The small-order FFT kernels of classes 4 (Avx), 5 (Avx2) and 7 (Avx512):
// the whole transform of 2^order points, order 0 to 6, in one straight-line
// pass without any table, from src into dst in natural order.
//
// - A normalising kernel (src, dst, scale) writes scale times the transform, a
//   plain kernel (src, dst, spec) the transform itself and does not read spec.
// - Forward: X[k] = sum x[n] e^(-2 pi i nk/N); inverse: the positive exponent.
//   Orders 0 and 1 serve both directions.
// - src and dst may be the same array; float alignment is enough. Orders 4 to 6
//   use full 32-byte accesses when both arrays are 32-byte aligned and split
//   16-byte accesses otherwise, with identical results.
// - Classes 5 and 7 fuse the products that their rules name into the adding
//   operation and give bit-identical results; class 4 rounds every product.
#pragma once

#include "fft/fft.h"
#include "fft/fft_sse2.h"
#include "primitives/vector_types.h"

// Orders 0 and 1 (class 4, also used by class 5; class 7 has its own order 1).
void FftOrder0NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder1NormalisedKernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);

#define LV_FFT_DECLARE_SMALL(Dir, Sfx)                                                                        \
  void Fft##Dir##Order2NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);    \
  void Fft##Dir##Order3NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);    \
  void Fft##Dir##Order4NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);    \
  void Fft##Dir##Order5NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);    \
  void Fft##Dir##Order6NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);    \
  void Fft##Dir##Order2Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);  \
  void Fft##Dir##Order3Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);  \
  void Fft##Dir##Order4Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);  \
  void Fft##Dir##Order5Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);  \
  void Fft##Dir##Order6Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);

LV_FFT_DECLARE_SMALL(Forward, Avx)
LV_FFT_DECLARE_SMALL(Inverse, Avx)
LV_FFT_DECLARE_SMALL(Forward, Avx2)
LV_FFT_DECLARE_SMALL(Inverse, Avx2)
LV_FFT_DECLARE_SMALL(Forward, Avx512)
LV_FFT_DECLARE_SMALL(Inverse, Avx512)

#undef LV_FFT_DECLARE_SMALL

// The kernels of one class and direction by order (0..6), as the transforms
// of that class reach them. Order 0 plain is class 0's bit copy of the point.
struct FftSmallKernelSet {
  FftNormalisedKernel normalised[7];
  FftPlainKernel plain[7];
};

extern const FftSmallKernelSet kFftForwardSmallKernelsAvx;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx;
extern const FftSmallKernelSet kFftForwardSmallKernelsAvx2;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx2;
extern const FftSmallKernelSet kFftForwardSmallKernelsAvx512;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx512;
