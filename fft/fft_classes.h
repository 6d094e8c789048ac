// The forward and inverse transforms of processor classes 5 (Avx2) and 7
// (Avx512) with a specification built by the same class's initialisation:
// small orders (0-6) by the small-order kernels, medium orders (7-18) by the
// medium butterfly kernel followed by the scaling of the direction's flag,
// orders 19-28 by the large-order driver (fft/large_order.h).
// Statuses as the entry points: -8 null specification, -17 not initialised,
// -8 null source or destination, -8 null work buffer where the specification
// asks for one; 0 otherwise.
#pragma once

#include <cstdint>

#include "fft/fft.h"

#define LV_FFT_DECLARE_TRANSFORMS(Sfx)                                                                       \
  int32_t FftForwardComplexFloat32##Sfx(const ComplexFloat32* src, ComplexFloat32* dst,                      \
                                        const FftSpecComplexFloat32* spec, uint8_t* workBuffer);             \
  int32_t FftInverseComplexFloat32##Sfx(const ComplexFloat32* src, ComplexFloat32* dst,                      \
                                        const FftSpecComplexFloat32* spec, uint8_t* workBuffer);

LV_FFT_DECLARE_TRANSFORMS(Avx2)
LV_FFT_DECLARE_TRANSFORMS(Avx512)

#undef LV_FFT_DECLARE_TRANSFORMS
