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
//   stages);
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
  kMixed128,       // class 1: 8 when left is 3 or above 4 after the second stage;
                   //   the second stage is 8 for n = 7, 10, 11, 13, 14
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
    // small leaf largest blocked manyCore | V  plan                         fused | tileCopyLast chunk   whole |
    // transform butterfly colPass tiles small order0 order1
    {5, 10, 27, 0, -1, 0, FftStagePlan::kRadix4Triples, false, 0, 0, false,  // class 0 Sse2
     kClassSse2, kClassSse2, -1, -1, kClassSse2, kClassSse2, kClassSse2},
    {5, 16, 28, 20, -1, 4, FftStagePlan::kMixed128, false, 19, 8388608, true,  // class 1 Sse3
     kClassSse2, kClassSse3, kClassSse3, kClassSse3, -1, -1, -1},
    {5, 17, 28, 19, -1, 4, FftStagePlan::kFoursFirst128, false, 21, 33554432, true,  // class 2 Ssse3
     kClassSse2, kClassSsse3, kClassSsse3, kClassSsse3, -1, -1, -1},
    {5, 17, 28, 19, -1, 4, FftStagePlan::kFoursFirst128, false, 22, 67108864, true,  // class 3 Sse42
     kClassSse2, kClassSse42, kClassSse42, kClassSse42, -1, -1, -1},
    {6, 18, 28, 19, -1, 8, FftStagePlan::kWide256, false, 22, 67108864, false,  // class 4 Avx
     kClassSse2, kClassAvx, kClassAvx, kClassAvx, kClassAvx, kClassAvx, kClassAvx},
    {6, 18, 28, 19, -1, 8, FftStagePlan::kWide256, true, 22, 67108864, false,  // class 5 Avx2
     kClassAvx2, kClassAvx2, kClassAvx2, kClassAvx, kClassAvx2, kClassAvx, kClassAvx},
    // Class 6 runs the class-5 butterfly kernels and column passes under its own
    // names: GCC, given the class-6 flags, moves general registers through
    // xmm16-31 in those bodies, which class 6 must keep out of.
    {6, 18, 28, 19, 16, 8, FftStagePlan::kWide256, true, 22, 67108864, false,  // class 6 Avx512ManyCore
     kClassSse2, kClassAvx2, kClassAvx2, kClassAvx512ManyCore, -1, -1, -1},
    {6, 18, 28, 19, -1, 8, FftStagePlan::kWide256, true, 22, 67108864, false,  // class 7 Avx512
     kClassAvx512, kClassAvx512, kClassAvx512, kClassAvx, kClassAvx512, kClassAvx, kClassAvx512},
};

// Whether the class's own size query, plan initialisation and transforms are
// behind the entry points.
consteval bool FftTransformsWired(int cls) { return kFftClasses[cls].transformClass == cls; }

// Whether a class's entry in a table of kernels by class names a kernel (for
// static_asserts on what the class table borrows).
template <class Fn>
consteval bool FftHasKernel(Fn kernel) {
  return kernel != nullptr;
}
