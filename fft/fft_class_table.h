// The one table of the FFT's processor classes. For every class it holds the
// order limits that choose a road, the layout and arithmetic its kernels share,
// which class's code it runs where it has none of its own, and whether its own
// transforms are wired to the entry points. The dispatch tables of fft/fft.cpp
// and every per-class body (through kClass) read their numbers here; nothing
// else spells them.
//
// Roads by order (N = 2^order):
// - small orders, 0 .. smallOrderLimit: the small-order kernels, no tables;
// - medium orders, up to leafLimit: one swap list and one twiddle table of the
//   order; one butterfly kernel (class 0: scalar bit reversal and radix-4
//   stages; classes 1 and 2 at inPlaceOrder: bit reversal, then the in-place
//   kernel);
// - large orders, up to largestOrder: the large-order plan and drivers (inner
//   transforms of at most leafLimit, then column passes);
// - class 6 hands orders up to manyCoreLimit to the many-core FFT plan.
// An order above largestOrder is refused with StatusFftBadOrder.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

// How a class's stage-block twiddle table, and the kernels that read it,
// choose between radix 4 and radix 8 for the stage after o of n index bits
// (left = n - o levels to go).
enum class FftStagePlan : int32_t {
  kRadix4Triples,  // class 0: radix-4 stages on twiddle triples (no stage blocks)
  kMixed128,       // class 1: 8 when left is 3, or above 4 from the third stage
                   //   on; the second stage is 8 for n = 7, 10, 11, 13, 14
  kFoursFirst128,  // classes 2, 3: 4 while left is no multiple of 3, then 8
  kWide256,        // classes 4 to 7: 8 when left is 3, or above 4 from the third
                   //   stage on while n <= 11; the stage after o = 4 is 8 for odd n
};

struct FftClassRow {
  // ---- order limits ----
  int32_t smallOrderLimit;
  int32_t leafLimit;
  int32_t largestOrder;
  int32_t blockedThreshold;  // first order with the blocked swap list and 64 x 64
                             // tile reversal (0: never)
  int32_t manyCoreLimit;     // orders up to it use the many-core FFT plan (-1: none)

  // ---- kernels' layout and arithmetic ----
  int32_t groupWidth;        // V, points per group of the split layouts (4 or 8;
                             // 0: interleaved points only)
  FftStagePlan stagePlan;
  bool fusedProducts;        // twiddle products fused into the sum (FMA)

  // ---- large-order driver ----
  int32_t tileCopyLast;      // last order whose out-of-place reversal moves tiles
                             // straight from the source
  int32_t copyChunkBytes;    // above it, the source is first copied in these chunks
  bool wholeArrayReversal;   // below blockedThreshold the driver reverses the whole
                             // array through the complete swap list (exports
                             // BitReverseInPlace and BitReverseCopy)

  // ---- whose code runs (a class number; -1: the class has none) ----
  int32_t transformClass;    // size query, FFT plan initialisation and transforms
                             // behind the entry points: the class's own where they
                             // are wired, else class 0's (a plan always matches the
                             // transform that reads it)
  int32_t butterflyClass;    // medium and in-place butterfly kernels
  int32_t columnPassClass;   // radix-8 and radix-4 column passes
  int32_t tileMoveClass;     // tile gather and scatter
  int32_t smallKernelClass;  // small-order kernels of orders 2 and up
  int32_t order0Class;       // normalising order-0 kernel (the plain one is class 0's
                             // bit copy everywhere)
  int32_t order1Class;       // order-1 kernels

  // ---- medium road ----
  int32_t inPlaceOrder = -1;  // the medium order taken by a bit reversal and the
                              // in-place kernel instead of the medium kernel
                              // (-1: none)
};

// Preconditions of the kernels each class runs (details beside their
// declarations):
// - butterflies (fft/kernels/butterfly.h): N a power of two up to the leaf
//   limit (class 0: radix-4 stages of 4 .. 1024 points), data in bit-reversed
//   order for the in-place kernels, any float alignment; the work buffer
//   (8N bytes) is used, and must be 16-byte (classes 1-3) or 32-byte (classes
//   4-7) aligned, only when the data or destination are not;
// - column passes (fft/kernels/column_pass.h): leg distance a multiple of V
//   (of 2V for the single-group radix-4 pass);
// - tile moves (fft/setup/permute.h): row length a multiple of 16 points;
// - small-order kernels (fft/kernels/small_kernels.h): float alignment, in
//   place allowed.
constexpr FftClassRow kFftClasses[kProcessorClassCount] = {
    // class 0, Sse2: the portable FFT
    {.smallOrderLimit = 5, .leafLimit = 10, .largestOrder = 27, .blockedThreshold = 0,
     .manyCoreLimit = -1, .groupWidth = 0, .stagePlan = FftStagePlan::kRadix4Triples, .fusedProducts = false,
     .tileCopyLast = 0, .copyChunkBytes = 0, .wholeArrayReversal = false,
     .transformClass = kClassSse2, .butterflyClass = kClassSse2,
     .columnPassClass = -1, .tileMoveClass = -1,
     .smallKernelClass = kClassSse2, .order0Class = kClassSse2, .order1Class = kClassSse2},
    // class 1, Sse3
    {.smallOrderLimit = 5, .leafLimit = 16, .largestOrder = 28, .blockedThreshold = 20,
     .manyCoreLimit = -1, .groupWidth = 4, .stagePlan = FftStagePlan::kMixed128, .fusedProducts = false,
     .tileCopyLast = 19, .copyChunkBytes = 8388608, .wholeArrayReversal = true,
     .transformClass = kClassSse3, .butterflyClass = kClassSse3,
     .columnPassClass = kClassSse3, .tileMoveClass = kClassSse3,
     .smallKernelClass = kClassSse3, .order0Class = kClassSse2, .order1Class = kClassSse2,
     .inPlaceOrder = 16},
    // class 2, Ssse3
    {.smallOrderLimit = 5, .leafLimit = 17, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = -1, .groupWidth = 4, .stagePlan = FftStagePlan::kFoursFirst128, .fusedProducts = false,
     .tileCopyLast = 21, .copyChunkBytes = 33554432, .wholeArrayReversal = true,
     .transformClass = kClassSsse3, .butterflyClass = kClassSsse3,
     .columnPassClass = kClassSsse3, .tileMoveClass = kClassSsse3,
     .smallKernelClass = kClassSsse3, .order0Class = kClassSse2, .order1Class = kClassSse2,
     .inPlaceOrder = 17},
    // class 3, Sse42
    {.smallOrderLimit = 5, .leafLimit = 17, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = -1, .groupWidth = 4, .stagePlan = FftStagePlan::kFoursFirst128, .fusedProducts = false,
     .tileCopyLast = 22, .copyChunkBytes = 67108864, .wholeArrayReversal = true,
     .transformClass = kClassSse42, .butterflyClass = kClassSse42,
     .columnPassClass = kClassSse42, .tileMoveClass = kClassSse42,
     .smallKernelClass = kClassSse42, .order0Class = kClassSse2, .order1Class = kClassSse2},
    // class 4, Avx: no fused products
    {.smallOrderLimit = 6, .leafLimit = 18, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = -1, .groupWidth = 8, .stagePlan = FftStagePlan::kWide256, .fusedProducts = false,
     .tileCopyLast = 22, .copyChunkBytes = 67108864, .wholeArrayReversal = false,
     .transformClass = kClassAvx, .butterflyClass = kClassAvx,
     .columnPassClass = kClassAvx, .tileMoveClass = kClassAvx,
     .smallKernelClass = kClassAvx, .order0Class = kClassAvx, .order1Class = kClassAvx},
    // class 5, Avx2
    {.smallOrderLimit = 6, .leafLimit = 18, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = -1, .groupWidth = 8, .stagePlan = FftStagePlan::kWide256, .fusedProducts = true,
     .tileCopyLast = 22, .copyChunkBytes = 67108864, .wholeArrayReversal = false,
     .transformClass = kClassAvx2, .butterflyClass = kClassAvx2,
     .columnPassClass = kClassAvx2, .tileMoveClass = kClassAvx,
     .smallKernelClass = kClassAvx2, .order0Class = kClassAvx, .order1Class = kClassAvx},
    // class 6, Avx512ManyCore: orders up to 16 use the many-core FFT plan and
    // its own roads (fft/manycore/); above, the class-5 butterfly kernels and
    // column passes run under its own names (GCC, given the class-6 flags,
    // moves general registers through xmm16-31 in those bodies, which class 6
    // must keep out of)
    {.smallOrderLimit = 6, .leafLimit = 18, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = 16, .groupWidth = 8, .stagePlan = FftStagePlan::kWide256, .fusedProducts = true,
     .tileCopyLast = 22, .copyChunkBytes = 67108864, .wholeArrayReversal = false,
     .transformClass = kClassAvx512ManyCore, .butterflyClass = kClassAvx2,
     .columnPassClass = kClassAvx2, .tileMoveClass = kClassAvx512ManyCore,
     .smallKernelClass = -1, .order0Class = -1, .order1Class = -1},
    // class 7, Avx512: the class-5 arithmetic in AVX-512 encodings, 256 bits wide
    {.smallOrderLimit = 6, .leafLimit = 18, .largestOrder = 28, .blockedThreshold = 19,
     .manyCoreLimit = -1, .groupWidth = 8, .stagePlan = FftStagePlan::kWide256, .fusedProducts = true,
     .tileCopyLast = 22, .copyChunkBytes = 67108864, .wholeArrayReversal = false,
     .transformClass = kClassAvx512, .butterflyClass = kClassAvx512,
     .columnPassClass = kClassAvx512, .tileMoveClass = kClassAvx,
     .smallKernelClass = kClassAvx512, .order0Class = kClassAvx, .order1Class = kClassAvx512},
};

// Whether the class's own size query, plan initialisation and transforms are
// behind the entry points.
consteval bool FftTransformsWired(int cls) { return kFftClasses[cls].transformClass == cls; }
