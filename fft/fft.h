// The complex 32-bit float FFT of N = 2^order points: the public entry points.
//
// The caller owns all memory: FftGetSizeComplexFloat32 reports the bytes of
// the FFT plan memory, the init buffer and the work buffer (0 = not needed);
// FftInitComplexFloat32 builds the FFT plan in the first block (the init
// buffer is not referenced afterwards); the forward and inverse transforms then
// read the plan and use the work buffer. A plan is read-only once built, so
// threads may share it (each with its own work buffer). Source and destination
// may be the same array. Every entry point dispatches to the implementation of
// the processor class (fft/fft_class_table.h).
//
// Forward: X[k] = sum x[n] e^(-2 pi i nk/N); inverse: x[n] = sum X[k] e^(+2 pi i nk/N),
// each multiplied by the scale factor when the flag scales that direction.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

// Statuses of the FFT entry points besides StatusOk (0) and StatusNullPointer (-8).
enum : int32_t {
  StatusFftBadOrder = -15,
  StatusFftBadFlag = -16,
  StatusFftBadSpec = -17,
};

// Normalisation flags: which direction is scaled, and by what.
enum : int32_t {
  kFftScaleForward = 1,  // forward by 1/N
  kFftScaleInverse = 2,  // inverse by 1/N
  kFftScaleBoth = 4,     // both by 1/sqrt(N)
  kFftNoScale = 8,
};

// The FFT plan header (fft/setup/fft_spec.h); opaque to callers.
struct FftSpecComplexFloat32;

int32_t FftGetSizeComplexFloat32(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                                 int32_t* workBytes);
int32_t FftInitComplexFloat32(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                              uint8_t* specMemory, uint8_t* initBuffer);
int32_t FftForwardComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                 uint8_t* workBuffer);
int32_t FftInverseComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                 uint8_t* workBuffer);
