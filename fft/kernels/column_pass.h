// Radix-8 and radix-4 column passes of the large-order drivers of classes 1
// to 7, forward and inverse (bodies and data layout: fft/kernels/
// column_pass_vector.inl; which class runs which: the class table's
// columnPassClass). Arguments: (data: the column block, transformed in place;
// unused: never read or written; width h: leg distance in points, a multiple of
// the class's group width (of twice it for the single-group radix-4 pass);
// groups l: the number of butterfly groups, nothing happens when l <= 0 or
// h <= 0; twiddles: the pass's records). Classes 1-4 give bit-identical
// results, as do classes 5 and 7. Class 6 has no passes of its own: its names
// forward to the class-5 passes (GCC, given the class-6 flags, moves general
// registers through xmm16-31 in the radix-8 body), so it agrees with class 5
// bit for bit.
#pragma once

#include <cstdint>

#define LV_FFT_DECLARE_COLUMN_PASSES(Sfx)                                                                      \
  void FftForwardRadix8Pass##Sfx(float* data, float* unused, int32_t h, int32_t l, const float* twiddles);   \
  void FftForwardRadix4Pass##Sfx(float* data, float* unused, int32_t h, int32_t l, const float* twiddles);   \
  void FftInverseRadix8Pass##Sfx(float* data, float* unused, int32_t h, int32_t l, const float* twiddles);   \
  void FftInverseRadix4Pass##Sfx(float* data, float* unused, int32_t h, int32_t l, const float* twiddles);

LV_FFT_DECLARE_COLUMN_PASSES(Sse3)
LV_FFT_DECLARE_COLUMN_PASSES(Ssse3)
LV_FFT_DECLARE_COLUMN_PASSES(Sse42)
LV_FFT_DECLARE_COLUMN_PASSES(Avx)
LV_FFT_DECLARE_COLUMN_PASSES(Avx2)
LV_FFT_DECLARE_COLUMN_PASSES(Avx512ManyCore)
LV_FFT_DECLARE_COLUMN_PASSES(Avx512)

#undef LV_FFT_DECLARE_COLUMN_PASSES
