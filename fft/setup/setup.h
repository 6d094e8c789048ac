// The FFT plan builders of every processor class: the large-order size
// queries, the quarter-wave sine table, the twiddle tables, the swap lists, the
// large-order plan and the split tables. The size query and initialisation
// themselves are declared with the entry points' class implementations
// (fft/fft_classes.h); bodies: fft/setup/setup_body.inl.
//
// Tables the kernels and drivers read (all int32 lists and float32 tables start
// on 64-byte boundaries unless stated):
// - swap list, pairs format (class 0, and the order-12 tile list): pairs
//   (4g, 4r) for g < r in ascending g, a 0, the self-reversed entries 4g in
//   descending g, a closing 0 (N/4 + 1 entries);
// - swap list, complete format (classes 1 to 7 below the blocked threshold):
//   b + 1 entries for order n, b = N/4: entry i = 2 * rev(i), rev reversing the
//   low n - 2 bits of i; entries 0 and b are 0. It starts at the FFT plan's
//   base + 144.
// - blocked list (from the blocked threshold on: order 20 on class 1, 19 on
//   classes 2 to 7): M = N/4096 block offsets 64 * rev'(i) (rev' over n - 12
//   bits), then the order-12 tile list in the pairs format (1025 entries).
// - radix-4 twiddle triples (class 0): group j = 0..N/4 holds W_N^j, W_N^2j,
//   W_N^3j as (cos, -sin).
// - radix-4 twiddle table (stage blocks, classes 1 to 7): after a twiddle-free
//   first stage of 4-point butterflies, one block per stage (radix 4 or 8,
//   group length d) of W_d^(k j) for j < d/r, k = 1 .. r-1, grouped V at a
//   time (V = 4 on classes 1-3, 8 on classes 4-7, the d = 16 block of classes
//   4-7 with 4): V real parts then V imaginary parts per k. The block of (d, r)
//   occupies bytes 8 d/r - 32 .. 8 d - 32; the table reserves 8N bytes.
// - column-pass tables of the large-order plan (one per recursion depth).
// Every twiddle W_d^m = (cos, -sin)(2 pi m/d) is a copy of a quarter-wave sine
// table entry, negated by flipping its sign bit.
#pragma once

#include <cstdint>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"

// ---- class 0 (Sse2) ----

// Quarter-wave sine table of an order above 10 (2^order / 4 + 1 floats at a
// 64-byte-aligned table), evaluated with the class-0 sine and cosine. Returns
// the first 64-byte boundary behind it.
float* MakeSineTableSse2(int32_t order, float* table);
// Bit-reversal swap list in the pairs format (order >= 2, 2^order / 4 + 1
// entries). Returns the first 64-byte boundary at or after its end.
int32_t* MakeBitReverseListSse2(int32_t order, int32_t* out);
// Radix-4 twiddle triples of order n (n >= 2) from a quarter-wave sine table of
// order b >= n. Returns out + 24 (N/4 + 1) bytes rounded up to a multiple of 64.
float* ExpandRadix4TwiddlesSse2(int32_t n, const float* sine, int32_t b, float* out);
// Large-order plan of an order above 10: swap list at list, then the leaf,
// combine, outer and column tables (scratch: init-buffer room behind the sine
// table). Returns the end of the last table written.
uint8_t* BuildLargeOrderPlanSse2(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                                 int32_t* list, uint8_t* scratch);
// Raw byte counts (plan, init, work) of a large order, before the size query's
// common additions, and of one recursion level (depth plays no part in the
// counts).
void FftGetSizeLargeOrderSse2(int32_t order, int64_t* specBytes, int64_t* initBytes, int64_t* workBytes);
void FftGetSizeLargeOrderLevelSse2(int32_t order, int32_t depth, int64_t* specBytes, int64_t* initBytes,
                                   int64_t* workBytes);

// Outer order of a class-0 large order (index = order, 0..30): 2^n rows of
// 2^(order - n) points; 0 at orders 11 and 12 means the order is not split
// (1024-point blocks joined by combine passes). 29 and 30 repeat 28.
extern const int32_t kFftOrderSplitSse2[31];

// ---- classes 1 to 7 ----

#define LV_FFT_SETUP_DECLARE_CLASS(Sfx)                                                                          \
  /* Quarter-wave sine table of an order above 10 at a 64-byte-aligned table;                                   \
     returns the first 64-byte boundary behind its N/4 + 1 entries. */                                          \
  void* MakeSineTable##Sfx(int32_t order, float* table);                                                        \
  /* Stage-block twiddle table of order n from a sine table of order b >= n;                                    \
     returns out + 8N rounded up to 64 bytes. */                                                                \
  void* ExpandRadix4Twiddles##Sfx(int32_t n, const float* sine, int32_t b, float* out);                         \
  /* Swap list of order n in the complete format; returns the first 64-byte                                     \
     boundary at or after its last entry. */                                                                    \
  void* MakeBitReverseList##Sfx(int32_t n, int32_t* out);                                                       \
  /* Pairs-format list of order n (the tile list, n = 12). */                                                   \
  void* MakeTileBitReverseList##Sfx(int32_t n, int32_t* out);                                                   \
  /* Blocked list of order n with tiles of side 2^t (callers pass t = 6). */                                    \
  void* MakeBlockedBitReverseList##Sfx(int32_t n, int32_t t, int32_t* out);                                     \
  /* Large-order plan: swap list, leaf table, column-pass tables, work size.                                    \
     Returns the end of the last table written. */                                                              \
  void* BuildLargeOrderPlan##Sfx(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,      \
                                 int32_t* list, uint8_t* scratch);                                              \
  /* Raw byte counts (plan, init, work) of a large order, before the size                                       \
     query's common additions, and of one recursion level. */                                                   \
  void FftGetSizeLargeOrder##Sfx(int32_t order, int64_t* specBytes, int64_t* initBytes, int64_t* workBytes);    \
  void FftGetSizeLargeOrderLevel##Sfx(int32_t order, int32_t depth, int64_t* specBytes, int64_t* initBytes,     \
                                      int64_t* workBytes);                                                      \
  /* Order split (outer order n) and column block (T) tables, indexed by order. */                              \
  extern const int32_t kFftOrderSplit##Sfx[31];                                                                 \
  extern const int32_t kFftColumnBlock##Sfx[31];

LV_FFT_SETUP_DECLARE_CLASS(Sse3)
LV_FFT_SETUP_DECLARE_CLASS(Ssse3)
LV_FFT_SETUP_DECLARE_CLASS(Sse42)
LV_FFT_SETUP_DECLARE_CLASS(Avx)
LV_FFT_SETUP_DECLARE_CLASS(Avx2)
LV_FFT_SETUP_DECLARE_CLASS(Avx512ManyCore)
LV_FFT_SETUP_DECLARE_CLASS(Avx512)

#undef LV_FFT_SETUP_DECLARE_CLASS
