// The FFT plan header (144 bytes at the 64-byte-aligned start of the FFT plan
// memory) and the fixed quarter-wave sine table of order 10. The order limits
// of every class are in fft/fft_class_table.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fft/fft.h"

// The value of the identifier once initialisation has completed.
inline constexpr int32_t kFftSpecIdentifier = 4;

struct FftSpecComplexFloat32 {
  int32_t identifier;    // 4 when initialised; 0 otherwise
  int32_t order;
  int32_t forwardScale;  // 0 or 1
  int32_t inverseScale;  // 0 or 1
  float scale;           // 1/N, 1/sqrt(N) or 0 (flag 8)
  int32_t hint;
  int32_t workBytes;     // bytes needed behind the work buffer's 64-byte-aligned start
  int32_t reserved;
  uint8_t zero32[16];
  const void* swapList;  // always the first byte behind the header when set
  const void* twiddles;
  const void* combineTable;
  const void* reserved72;
  uint8_t zero80[16];
  const void* outerTables[3];
  const void* columnTables[3];
};
static_assert(sizeof(FftSpecComplexFloat32) == 144, "the header is 144 bytes");
static_assert(offsetof(FftSpecComplexFloat32, scale) == 16);
static_assert(offsetof(FftSpecComplexFloat32, workBytes) == 24);
static_assert(offsetof(FftSpecComplexFloat32, swapList) == 48);
static_assert(offsetof(FftSpecComplexFloat32, twiddles) == 56);
static_assert(offsetof(FftSpecComplexFloat32, combineTable) == 64);
static_assert(offsetof(FftSpecComplexFloat32, outerTables) == 96);
static_assert(offsetof(FftSpecComplexFloat32, columnTables) == 120);

inline constexpr int32_t kFftSpecHeaderBytes = 144;

// sin(2 pi k / 1024) rounded to float32, k = 0..256: every twiddle of an order
// up to 10 is a copy of one of these values.
extern const float kFftQuarterSineOrder10[257];
