// The butterfly kernels of the vector classes: the medium kernel (a whole
// transform, bit reversal fused into its first pass) and the in-place kernel
// (data already in bit-reversed order). Both are unnormalised and never scale.
//
// Classes 5, 6 and 7 share one 256-bit body with fused twiddle products; the
// three names of each kernel are that body built for each class.
//
// Medium kernel (src, dst, n, twiddles, swapList, work):
// - n = 2^L, 64 <= n <= 2^18; twiddles: the radix-4 twiddle table of order L
//   of classes 4-7 (32-byte aligned, 8n - 32 bytes read); swapList: the
//   complete-format bit-reversal list of order L (entries 16, 32, ..., n/4 read);
// - src and dst are the same array or disjoint, any float alignment;
// - work (8n bytes, 32-byte aligned) is used only when src == dst or dst is not
//   32-byte aligned; otherwise it is never touched and may be null.
// In-place kernel (data, n, twiddles, work, lastFlag):
// - data holds the n points in bit-reversed order, n = 2^m, m >= 12;
// - work (8n bytes, 32-byte aligned) is used only when data is not 32-byte
//   aligned, otherwise it may be null;
// - lastFlag 1 leaves interleaved pairs in natural order; any other value the
//   split-block layout of 8 points (8 real parts, then 8 imaginary parts).
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

#define LV_FFT_DECLARE_BUTTERFLY(Sfx)                                                                            \
  void FftForwardMediumKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,                  \
                                   const float* twiddles, const int32_t* swapList, uint8_t* work);              \
  void FftInverseMediumKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,                  \
                                   const float* twiddles, const int32_t* swapList, uint8_t* work);              \
  void FftForwardInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);                                                           \
  void FftInverseInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);

LV_FFT_DECLARE_BUTTERFLY(Avx2)
LV_FFT_DECLARE_BUTTERFLY(Avx512ManyCore)
LV_FFT_DECLARE_BUTTERFLY(Avx512)

#undef LV_FFT_DECLARE_BUTTERFLY

// In-place kernel of classes 2 and 3 (one 128-bit body, blocks of 4 points):
// data 2^6 ... 2^17 points in bit-reversed order; the working array is data
// when it is 16-byte aligned (work then untouched, may be null), otherwise the
// work buffer (8n bytes, 16-byte aligned); lastFlag 1 leaves interleaved
// pairs, any other value blocks of 4 real parts then 4 imaginary parts.
#define LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Sfx)                                                                   \
  void FftForwardInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);                                                           \
  void FftInverseInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);

LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Ssse3)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Sse42)

#undef LV_FFT_DECLARE_IN_PLACE_BUTTERFLY

// The in-place kernels of class 4: the class-5 passes and layouts with every
// twiddle product rounded before it is added (no fused multiply-add).
void FftForwardInPlaceKernelAvx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                int32_t lastFlag);
void FftInverseInPlaceKernelAvx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                int32_t lastFlag);

// The in-place kernels of class 1 (4-point blocks with lastFlag != 1; data of
// any float alignment, work used only when data is not 16-byte aligned).
void FftForwardInPlaceKernelSse3(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                 int32_t lastFlag);
void FftInverseInPlaceKernelSse3(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                 int32_t lastFlag);
