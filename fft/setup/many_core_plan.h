// The many-core FFT plan of class 6 (Avx512ManyCore) for orders 0 to 16
// (class table: manyCoreLimit): its header, size query, initialisation and
// table builders (body: fft/setup/many_core_plan.inl).
#pragma once

#include <cstddef>
#include <cstdint>

#include "fft/fft.h"

// Layout: a 136-byte header whose first 32 bytes are those of FftSpecComplexFloat32, then (orders 8 to
// 16) a complete-format swap list at header + 136 and, from the 64-byte
// boundary behind it, the mixed-radix twiddle table of 2N floats: a head block
// of 32 floats (W_16^(m q), m = 1..3, q = 0..3, reals then imaginary parts; the
// last 8 floats unwritten), then per stage (radix 8 while 3 or at least 5
// levels remain, else 4; group length G) the positions q < G/R in chunks of 16,
// per chunk and m = 1 .. R-1 the 16 real parts then the 16 imaginary parts.
struct FftManyCoreSpecComplexFloat32 {
  int32_t identifier;
  int32_t order;
  int32_t forwardScale;
  int32_t inverseScale;
  float scale;
  int32_t hint;
  int32_t workBytes;
  int32_t reserved;
  uint8_t zero32[8];
  const int32_t* swapList;
  const float* twiddles;
  uint8_t zero56[80];
};
static_assert(sizeof(FftManyCoreSpecComplexFloat32) == 136, "the many-core header is 136 bytes");
static_assert(offsetof(FftManyCoreSpecComplexFloat32, swapList) == 40);
static_assert(offsetof(FftManyCoreSpecComplexFloat32, twiddles) == 48);

inline constexpr int32_t kFftManyCoreHeaderBytes = 136;

int32_t FftGetSizeManyCoreSpec(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                               int32_t* workBytes);
int32_t FftInitManyCoreSpec(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                            uint8_t* specMemory, uint8_t* initBuffer);
// Sine table of orders 11 to 16 from the double-precision run-time sine and
// cosine, each value rounded once to float32.
void* MakeSineTableManyCoreSpec(int32_t order, float* out);
void* MakeBitReverseListManyCoreSpec(int32_t order, int32_t* out);
void* ExpandRadix4TwiddlesManyCoreSpec(int32_t order, const float* sine, int32_t a, float* out);
