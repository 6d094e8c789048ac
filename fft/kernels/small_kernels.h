// The small-order FFT kernels: the whole transform of 2^order points in one
// straight-line pass without any table, from src into dst in natural order
// (bodies: fft/kernels/small_kernels_body.inl). Classes 0 to 3 have orders 0
// to 5, classes 4 (Avx), 5 (Avx2) and 7 (Avx512) orders 0 to 6 (class table:
// smallOrderLimit, smallKernelClass, order0Class, order1Class).
//
// - A normalising kernel (src, dst, scale) writes scale times the transform, a
//   plain kernel (src, dst, spec) the transform itself and does not read spec.
// - Forward: X[k] = sum x[n] e^(-2 pi i nk/N); inverse: the positive exponent.
//   Orders 0 and 1 serve both directions.
// - src and dst may be the same array; float alignment is enough. Orders 4 to 6
//   of classes 4, 5 and 7 use full 32-byte accesses when both arrays are 32-byte
//   aligned and split 16-byte accesses otherwise, with identical results.
// - Class 0 rounds every product in scalar arithmetic; classes 1 to 3 (the
//   128-bit build, orders 2 to 5, orders 0 and 1 of class 0) likewise, with
//   their own grouping, and agree bit for bit. Classes 5 and 7 fuse
//   the products that their rules name into the adding operation and give
//   bit-identical results; class 4 rounds every product.
// None checks its arguments.
#pragma once

#include "fft/fft.h"
#include "primitives/vector_types.h"

using FftNormalisedKernel = void (*)(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
using FftPlainKernel = void (*)(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);

// Orders 0 and 1 (class 0 and class 4; class 7 has its own order 1; class 5
// uses class 4's, and the plain order 0 of classes 4, 5 and 7 is class 0's bit
// copy).
void FftOrder0NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder0KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder1NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder0NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder1NormalisedKernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);

#define LV_FFT_DECLARE_SMALL(Dir, k, Sfx)                                                                        \
  void Fft##Dir##Order##k##NormalisedKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, float scale);  \
  void Fft##Dir##Order##k##Kernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*);
#define LV_FFT_DECLARE_SMALL_CLASS(Dir, Sfx) \
  LV_FFT_DECLARE_SMALL(Dir, 2, Sfx)          \
  LV_FFT_DECLARE_SMALL(Dir, 3, Sfx)          \
  LV_FFT_DECLARE_SMALL(Dir, 4, Sfx)          \
  LV_FFT_DECLARE_SMALL(Dir, 5, Sfx)

LV_FFT_DECLARE_SMALL_CLASS(Forward, Sse2)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Sse2)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Sse3)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Sse3)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Ssse3)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Ssse3)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Sse42)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Sse42)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Avx)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Avx)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Avx2)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Avx2)
LV_FFT_DECLARE_SMALL_CLASS(Forward, Avx512)
LV_FFT_DECLARE_SMALL_CLASS(Inverse, Avx512)
LV_FFT_DECLARE_SMALL(Forward, 6, Avx)
LV_FFT_DECLARE_SMALL(Inverse, 6, Avx)
LV_FFT_DECLARE_SMALL(Forward, 6, Avx2)
LV_FFT_DECLARE_SMALL(Inverse, 6, Avx2)
LV_FFT_DECLARE_SMALL(Forward, 6, Avx512)
LV_FFT_DECLARE_SMALL(Inverse, 6, Avx512)

#undef LV_FFT_DECLARE_SMALL_CLASS
#undef LV_FFT_DECLARE_SMALL

// The class-0 kernel tables, indexed by the order 0..5.
extern const FftNormalisedKernel kFftForwardNormalisedKernelsSse2[6];
extern const FftPlainKernel kFftForwardPlainKernelsSse2[6];
extern const FftNormalisedKernel kFftInverseNormalisedKernelsSse2[6];
extern const FftPlainKernel kFftInversePlainKernelsSse2[6];

// The kernels of one class and direction by order (0..6; classes 1 to 3 have
// no order 6), as the transforms of classes 1 to 5 and 7 reach them.
struct FftSmallKernelSet {
  FftNormalisedKernel normalised[7];
  FftPlainKernel plain[7];
};

extern const FftSmallKernelSet kFftForwardSmallKernelsSse3;
extern const FftSmallKernelSet kFftInverseSmallKernelsSse3;
extern const FftSmallKernelSet kFftForwardSmallKernelsSsse3;
extern const FftSmallKernelSet kFftInverseSmallKernelsSsse3;
extern const FftSmallKernelSet kFftForwardSmallKernelsSse42;
extern const FftSmallKernelSet kFftInverseSmallKernelsSse42;
extern const FftSmallKernelSet kFftForwardSmallKernelsAvx;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx;
extern const FftSmallKernelSet kFftForwardSmallKernelsAvx2;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx2;
extern const FftSmallKernelSet kFftForwardSmallKernelsAvx512;
extern const FftSmallKernelSet kFftInverseSmallKernelsAvx512;

// Which classes have order-0 and order-1 kernels of their own, for the class
// table's order0Class and order1Class. Compile-time checks read these flags
// rather than comparing the addresses below with null (sanitizer-instrumented
// builds cannot fold such comparisons); a unit test holds the two tables in step.
constexpr bool kFftHasOrder0Kernel[] = {true, false, false, false, true, false, false, false};
constexpr bool kFftHasOrder1Kernel[] = {true, false, false, false, true, false, false, true};

// The order-0 and order-1 kernels by class (null: the class has none of its own).
constexpr FftNormalisedKernel kFftOrder0NormalisedKernelOf[] = {
    &FftOrder0NormalisedKernelSse2, nullptr, nullptr, nullptr, &FftOrder0NormalisedKernelAvx, nullptr, nullptr,
    nullptr};
constexpr FftNormalisedKernel kFftOrder1NormalisedKernelOf[] = {
    &FftOrder1NormalisedKernelSse2, nullptr, nullptr, nullptr, &FftOrder1NormalisedKernelAvx, nullptr, nullptr,
    &FftOrder1NormalisedKernelAvx512};
constexpr FftPlainKernel kFftOrder1KernelOf[] = {&FftOrder1KernelSse2, nullptr, nullptr, nullptr, &FftOrder1KernelAvx,
                                                 nullptr,              nullptr, &FftOrder1KernelAvx512};
