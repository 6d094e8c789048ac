// Bit reversal and tile moves of the FFT, per processor class (bodies:
// fft/setup/permute_body.inl). Every routine moves whole 32-bit words: values
// arrive bit for bit.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

// ---- class 0 (Sse2): scalar bit reversal through a pairs-format list ----

// dst[rev(i)] = src[i] (copy; src and dst do not overlap) and the same
// permutation in place, driven by the pairs-format list of the order.
void BitReverseCopyScalarSse2(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list);
void BitReverseInPlaceScalarSse2(ComplexFloat32* data, int32_t n, const int32_t* list);

// ---- classes 1 to 7 ----

// 12-bit bit reversal, in place, of a 4096-point tile through the tile list
// (pairs format).
#define LV_FFT_TILE_REVERSE_DECLARE_CLASS(Sfx) \
  void BitReverseTile##Sfx(ComplexFloat32* data, int32_t n, const int32_t* list);

LV_FFT_TILE_REVERSE_DECLARE_CLASS(Sse3)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Ssse3)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Sse42)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Avx)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Avx2)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Avx512ManyCore)
LV_FFT_TILE_REVERSE_DECLARE_CLASS(Avx512)

#undef LV_FFT_TILE_REVERSE_DECLARE_CLASS

// Whole-array bit reversal of classes 1 to 3 (class table: wholeArrayReversal)
// through a complete-format swap list (n >= 16 points, any float alignment):
// in place, and into a second, non-overlapping array (the source is left
// unchanged).
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
// 5 and 7 use the class-4 members (class table: tileMoveClass).
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

using FftTileGatherFn = void (*)(const ComplexFloat32*, ComplexFloat32*, int32_t, int32_t, int32_t);
using FftTileScatterFn = void (*)(ComplexFloat32*, const ComplexFloat32*, int32_t, int32_t, int32_t, int32_t);

// Which classes have tile moves of their own, for the class table's
// tileMoveClass (compile-time checks read these flags; a unit test holds them in
// step with the pointer tables below).
constexpr bool kFftHasTileMoves[] = {false, true, true, true, true, false, true, false};

// The tile moves by class (null: the class has none of its own).
constexpr FftTileGatherFn kFftTileGatherOf[] = {nullptr,       &TileGatherSse3, &TileGatherSsse3,          &TileGatherSse42,
                                                &TileGatherAvx, nullptr,         &TileGatherAvx512ManyCore, nullptr};
constexpr FftTileScatterFn kFftTileScatterOf[] = {
    nullptr, &TileScatterSse3, &TileScatterSsse3, &TileScatterSse42, &TileScatterAvx, nullptr, &TileScatterAvx512ManyCore,
    nullptr};
