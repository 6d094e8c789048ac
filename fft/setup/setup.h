// FFT set-up of the vector processor classes 1 to 7: size query,
// initialisation, the table builders and the permutations, one member per class
// (suffixes Sse3, Ssse3, Sse42, Avx, Avx2, Avx512ManyCore, Avx512).
//
// Tables the kernels and drivers read (all int32 lists and float32 tables start
// on 64-byte boundaries unless stated):
// - swap list, complete format (below the blocked threshold): b + 1 entries for
//   order n, b = N/4: entry i = 2 * rev(i), rev reversing the low n - 2 bits of
//   i; entries 0 and b are 0. It starts at the specification's base + 144.
// - blocked list (from the blocked threshold on: order 20 on class 1, 19 on
//   classes 2 to 7): M = N/4096 block offsets 64 * rev'(i) (rev' over n - 12
//   bits), then the order-12 tile list in the pairs format: pairs (4g, 4r) for
//   g < r in ascending g, a 0, the self-reversed entries 4g in descending g, a
//   closing 0 (1025 entries).
// - radix-4 twiddle table (stage blocks): after a twiddle-free first stage of
//   4-point butterflies, one block per stage (radix 4 or 8, group length d) of
//   W_d^(k j) for j < d/r, k = 1 .. r-1, grouped V at a time (V = 4 on classes
//   1-3, 8 on classes 4-7, the d = 16 block of classes 4-7 with 4): V real parts
//   then V imaginary parts per k. The block of (d, r) occupies bytes
//   8 d/r - 32 .. 8 d - 32; the table reserves 8N bytes.
// - column-pass tables of the large-order plan (one per recursion depth).
// Every twiddle W_d^m = (cos, -sin)(2 pi m/d) is a copy of a quarter-wave sine
// table entry, negated by flipping its sign bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"
#include "primitives/vector_types.h"

#define LV_FFT_SETUP_DECLARE_CLASS(Sfx)                                                                          \
  int32_t FftGetSizeComplexFloat32##Sfx(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes,          \
                                        int32_t* initBytes, int32_t* workBytes);                                \
  int32_t FftInitComplexFloat32##Sfx(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,   \
                                     uint8_t* specMemory, uint8_t* initBuffer);                                 \
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
  /* 12-bit bit reversal, in place, of a 4096-point tile through the tile list. */                              \
  void BitReverseTile##Sfx(ComplexFloat32* data, int32_t n, const int32_t* list);                               \
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

// Whole-array bit reversal of classes 1 to 3 through a complete-format swap
// list (n >= 16 points, any float alignment): in place, and into a second,
// non-overlapping array (the source is left unchanged).
#define LV_FFT_BITREV_DECLARE_CLASS(Sfx)                                                                        \
  void BitReverseInPlace##Sfx(ComplexFloat32* data, int32_t n, const int32_t* list);                           \
  void BitReverseCopy##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list);

LV_FFT_BITREV_DECLARE_CLASS(Sse3)
LV_FFT_BITREV_DECLARE_CLASS(Ssse3)
LV_FFT_BITREV_DECLARE_CLASS(Sse42)

#undef LV_FFT_BITREV_DECLARE_CLASS

// Tile moves. Gather copies rowCount rows of rowLength points (a multiple of
// 16), row r from src + r * rowStride, one after another into dst. Scatter
// copies them back to dst + r * rowStride; with last = 1 the buffer holds
// groups of V real parts followed by V imaginary parts (V = 4 on classes 1-3,
// 8 on classes 4-7) and the destination receives interleaved points. Classes
// 5 and 7 use the class-4 members.
#define LV_FFT_TILE_DECLARE_CLASS(Sfx)                                                                          \
  void TileGather##Sfx(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,    \
                       int32_t rowLength);                                                                      \
  void TileScatter##Sfx(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,   \
                        int32_t rowLength, int32_t last);

LV_FFT_TILE_DECLARE_CLASS(Sse3)
LV_FFT_TILE_DECLARE_CLASS(Ssse3)
LV_FFT_TILE_DECLARE_CLASS(Sse42)
LV_FFT_TILE_DECLARE_CLASS(Avx)
LV_FFT_TILE_DECLARE_CLASS(Avx512ManyCore)

#undef LV_FFT_TILE_DECLARE_CLASS

// The many-core specification of class 6 for orders 0 to 16: a 136-byte header
// whose first 32 bytes are those of FftSpecComplexFloat32, then (orders 8 to
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
