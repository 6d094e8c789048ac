// The per-class implementations of the four FFT entry points, for the
// dispatch tables (fft/fft.cpp), the bodies that define them, and the tests
// and benchmarks that call a class directly.
//
// Every class has its own size query and FFT plan initialisation. Forward and
// inverse transforms exist for the classes whose transforms are wired (class
// table: transformClass): 0 (Sse2, orders 0-27) and 1 to 7, orders 0-28.
// The transforms of the vector classes read a plan built by the same class:
// on class 6 orders 0-16 by the many-core road on its own plan
// (fft/manycore/many_core.h); small orders (0-5, 0-6 from class 4 on) by the
// small-order kernels, medium orders (up to 16, 17 or 18) by the medium
// butterfly kernel (classes 1 and 2 at orders 16 and 17: bit reversal and the
// in-place kernel) followed by the scaling of the direction's flag, larger
// orders by the large-order driver
// (fft/drivers/large_order.h).
// Statuses as the entry points: -8 null plan, -17 not initialised, -8 null
// source or destination, -8 null work buffer where the plan asks for one; 0
// otherwise.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "fft/fft.h"

LV_DECLARE_CLASSES(int32_t, FftGetSizeComplexFloat32,
                   (int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                    int32_t* workBytes));
LV_DECLARE_CLASSES(int32_t, FftInitComplexFloat32,
                   (FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint, uint8_t* specMemory,
                    uint8_t* initBuffer));

#define LV_FFT_DECLARE_TRANSFORMS(Sfx)                                                                       \
  int32_t FftForwardComplexFloat32##Sfx(const ComplexFloat32* src, ComplexFloat32* dst,                      \
                                        const FftSpecComplexFloat32* spec, uint8_t* workBuffer);             \
  int32_t FftInverseComplexFloat32##Sfx(const ComplexFloat32* src, ComplexFloat32* dst,                      \
                                        const FftSpecComplexFloat32* spec, uint8_t* workBuffer);

LV_FFT_DECLARE_TRANSFORMS(Sse2)
LV_FFT_DECLARE_TRANSFORMS(Sse3)
LV_FFT_DECLARE_TRANSFORMS(Ssse3)
LV_FFT_DECLARE_TRANSFORMS(Sse42)
LV_FFT_DECLARE_TRANSFORMS(Avx)
LV_FFT_DECLARE_TRANSFORMS(Avx2)
LV_FFT_DECLARE_TRANSFORMS(Avx512ManyCore)
LV_FFT_DECLARE_TRANSFORMS(Avx512)

#undef LV_FFT_DECLARE_TRANSFORMS

// Which classes have forward and inverse transforms of their own (all of them).
// Compile-time checks on the class table read these flags rather than comparing
// function addresses with null, which sanitizer-instrumented builds cannot fold;
// a unit test holds them in step with the functions declared above.
constexpr bool kFftHasTransforms[] = {true, true, true, true, true, true, true, true};
