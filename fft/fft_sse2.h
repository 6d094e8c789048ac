// Routines of the portable FFT (processor class 0) that other classes and the
// tests call directly: table builders, scalar bit reversal, the radix-4 stage
// engine and the small-order kernels. All are defined in fft/fft_sse2.cpp.
// None checks its arguments.
#pragma once

#include <cstdint>

#include "fft/fft.h"

// All butterfly stages of an unscaled transform of n = 4 .. 1024 points, in
// place, from bit-reversed order to natural order, with the twiddle triples of
// order log2(n).
void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles);
