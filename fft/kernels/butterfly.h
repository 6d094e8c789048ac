// The FFT butterfly kernels of every class (bodies: fft/kernels/
// butterfly_body.inl; which class runs which: the class table's
// butterflyClass). None scales and none checks its arguments.
//
// Class 0 (scalar, butterfly_scalar.inl):
// - radix-4 stages (data, n, twiddles): all butterfly stages of an unscaled
//   transform of n = 4 .. 1024 points, in place, from bit-reversed order to
//   natural order, with the radix-4 twiddle triples of order log2(n); any
//   float alignment;
// - combine passes (data, m, b0, table): radix-2 stages that join the m / b0
//   transforms of b0 points (taken from a bit-reversed array) into one of m
//   points; table holds W_m^k, k < m/4.
//
// Medium kernel (src, dst, n, twiddles, swapList, work), classes 1 to 5 and 7
// (and class 6, forwarding to class 5):
// a whole transform, bit reversal fused into its first pass.
// - classes 4 to 7: n = 2^L, 64 <= n <= 2^18; twiddles: the radix-4 twiddle
//   table of order L of the class (32-byte aligned, 8n - 32 bytes read);
//   swapList: the complete-format bit-reversal list of order L (entries 16, 32,
//   ..., n/4 read); work (8n bytes, 32-byte aligned) is used only when
//   src == dst or dst is not 32-byte aligned, otherwise never touched and may
//   be null;
// - classes 1 to 3: n = 2^L, 64 <= n <= 2^15 (class 1) or 2^17, the class's
//   table (16-byte aligned); list entries 4, 8, ..., n/4 read; work (8n
//   bytes, 16-byte aligned) used only when src == dst or dst is not 16-byte
//   aligned;
// - src and dst are the same array or disjoint, any float alignment.
// In-place kernel (data, n, twiddles, work, lastFlag), classes 1 to 7: data
// already in bit-reversed order, n = 2^m.
// - classes 4 to 7: m >= 12; work (8n bytes, 32-byte aligned) is used only when
//   data is not 32-byte aligned, otherwise it may be null; lastFlag 1 leaves
//   interleaved pairs in natural order, any other value the split-block layout
//   of 8 points (8 real parts, then 8 imaginary parts);
// - classes 1 to 3: blocks of 4 points (classes 2 and 3: 2^6 ... 2^17 points);
//   the working array is data when it is 16-byte aligned (work then untouched,
//   may be null), otherwise the work buffer (8n bytes, 16-byte aligned);
//   lastFlag 1 leaves interleaved pairs, any other value blocks of 4 real parts
//   then 4 imaginary parts.
//
// Arithmetic: classes 5 and 7 build one 256-bit body with fused twiddle
// products and agree bit for bit; class 4 builds its kernels from the same body
// with every product rounded. Class 6 has no body of its own: its
// four names forward to the class-5 kernels (GCC, given the class-6 flags,
// moves general registers through xmm16-31 in that body, which class 6 must
// keep out of), so classes 5 and 6 agree bit for bit. Classes 2 and 3 build
// one 128-bit body; class 1 its own, on the class-1 stage plan.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

// ---- class 0 ----
void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
void FftForwardCombinePassSse2(ComplexFloat32* data, int32_t m, int32_t b0, const float* table);
void FftInverseCombinePassSse2(ComplexFloat32* data, int32_t m, int32_t b0, const float* table);

// ---- medium kernels: classes 1 to 5, 6 (forwarding to class 5) and 7 ----
#define LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Sfx)                                                                     \
  void FftForwardMediumKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,                  \
                                   const float* twiddles, const int32_t* swapList, uint8_t* work);              \
  void FftInverseMediumKernel##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,                  \
                                   const float* twiddles, const int32_t* swapList, uint8_t* work);

LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Sse3)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Ssse3)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Sse42)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Avx)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Avx2)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Avx512ManyCore)
LV_FFT_DECLARE_MEDIUM_BUTTERFLY(Avx512)

#undef LV_FFT_DECLARE_MEDIUM_BUTTERFLY

// ---- in-place kernels: classes 1 to 7 (class 6 forwarding to class 5) ----
#define LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Sfx)                                                                   \
  void FftForwardInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);                                                           \
  void FftInverseInPlaceKernel##Sfx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,     \
                                    int32_t lastFlag);

LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Sse3)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Ssse3)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Sse42)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Avx)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Avx2)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Avx512ManyCore)
LV_FFT_DECLARE_IN_PLACE_BUTTERFLY(Avx512)

#undef LV_FFT_DECLARE_IN_PLACE_BUTTERFLY
