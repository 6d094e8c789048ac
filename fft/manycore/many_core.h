// The transforms of the many-core class (6, Avx512ManyCore) on its own FFT
// plan (fft/setup/many_core_plan.h), orders 0 to 16 (class table:
// manyCoreLimit). Bodies: fft/manycore/mixed_radix_body.inl and
// fft/manycore/small_body.inl, built for class 6 only.
//
// Orders 0 to 7: small-order kernels by order, a normalising one (src, dst,
// scale) and a plain one (src, dst, spec; spec not read); orders 0 and 1 serve
// both directions. src and dst may be the same array; float alignment.
//
// Orders 8 to 16: a mixed-radix decimation-in-time transform on a work area of
// N/16 blocks of 16 points (16 real parts, then 16 imaginary parts; element e
// at float 32*(e/16) + e%16, its imaginary part 16 floats further on), which is
// the destination when it is 64-byte aligned and the 64-byte-aligned work
// buffer otherwise:
// - first stage: bit reversal through the plan's swap list fused with 16-point
//   DFTs, from the interleaved source into the work area;
// - radix-8 passes at strides 16, 128, 1024 as the order needs, then at most
//   one radix-4 pass (in place on the work area; t the pass's twiddle block, s
//   the stride in points, m the group count);
// - a radix-4 (s = N/4) or radix-8 (s = N/8) last stage from the work area into
//   the interleaved destination (which may be the work area).
// The inverse members compute, float for float, the conjugate of the forward
// member's result on conjugated input. The inverse "Large" and "Small" members
// of a stage share one body and give identical results.
// None of these checks its arguments; FftForwardManyCoreSpec and
// FftInverseManyCoreSpec scale once (after the whole transform at orders 8 to
// 16, inside the normalising kernel below) and return 0.
#pragma once

#include <cstdint>

#include "fft/fft.h"
#include "fft/kernels/small_kernels.h"
#include "primitives/vector_types.h"

int32_t FftForwardManyCoreSpec(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                               uint8_t* work);
int32_t FftInverseManyCoreSpec(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                               uint8_t* work);

// ---- orders 8 to 16, forward ----
void FftForwardMixedRadixAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n,
                                        const float* twiddles, const int32_t* swapList, uint8_t* buffer);
void FftForwardMixedRadixFirstStageAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list,
                                                  int64_t n);
void FftForwardMixedRadix8PassAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftForwardMixedRadix4PassAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftForwardMixedRadix4LastStageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s);
void FftForwardMixedRadix8LastStageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s);

// ---- orders 8 to 16, inverse ----
void FftInverseMixedRadixAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n,
                                        const float* twiddles, const int32_t* swapList, uint8_t* buffer);
void FftInverseFirstStageLargeAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list, int64_t n);
void FftInverseFirstStageSmallAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list, int64_t n);
void FftInverseRadix8StageLargeAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftInverseRadix8StageSmallAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftInverseRadix4StageLargeAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftInverseRadix4StageSmallAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m);
void FftInverseLastRadix4StageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s);
void FftInverseLastRadix8StageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s);

// ---- orders 0 to 7 ----
void FftOrder0NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder0KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
void FftOrder1NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, float scale);
void FftOrder1KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec);
#define LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, k)                                                                 \
  void Fft##Dir##Order##k##NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,     \
                                                          float scale);                                       \
  void Fft##Dir##Order##k##KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,               \
                                                const FftSpecComplexFloat32* spec);
#define LV_FFT_DECLARE_MANY_CORE_SMALL_DIR(Dir) \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 2)        \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 3)        \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 4)        \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 5)        \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 6)        \
  LV_FFT_DECLARE_MANY_CORE_SMALL(Dir, 7)
LV_FFT_DECLARE_MANY_CORE_SMALL_DIR(Forward)
LV_FFT_DECLARE_MANY_CORE_SMALL_DIR(Inverse)
#undef LV_FFT_DECLARE_MANY_CORE_SMALL_DIR
#undef LV_FFT_DECLARE_MANY_CORE_SMALL

// The many-core small-order tables by order 0..7.
extern const FftNormalisedKernel kFftForwardManyCoreNormalisedKernelsAvx512ManyCore[8];
extern const FftPlainKernel kFftForwardManyCorePlainKernelsAvx512ManyCore[8];
extern const FftNormalisedKernel kFftInverseManyCoreNormalisedKernelsAvx512ManyCore[8];
extern const FftPlainKernel kFftInverseManyCorePlainKernelsAvx512ManyCore[8];
