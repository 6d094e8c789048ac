// Bit reversal and tile moves of one processor class: class 0 the scalar
// reversal through a pairs-format list; classes 1 to 7 the tile reversal, and
// the whole-array reversal and tile moves where the class table gives them
// their own (wholeArrayReversal, tileMoveClass): 128-bit moves on classes 1 to
// 3, 256-bit moves on classes 4 and 6.
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/setup/permute.h"
#include "primitives/vector_types.h"

#if LV_CLASS == 0
#include "fft/setup/permute_scalar.inl"
#else
namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];

// The tile moves of the class move groups of its group width: 4 points in
// 128-bit moves, 8 points in 256-bit moves.
#include "fft/setup/permute_128.inl"
#if LV_CLASS <= 3
static_assert(kRow.groupWidth == 4);
using TileMoves = Permute128;
#else
#include "fft/setup/permute_256.inl"
static_assert(kRow.groupWidth == 8);
using TileMoves = Tile256;
#endif

}  // namespace
}  // namespace LV_NS

void LV_NAME(BitReverseTile)(ComplexFloat32* data, int32_t n, const int32_t* list) {
  LV_NS::Permute128::Tile(data, n, list);
}

// Classes 1 to 3 reverse whole arrays below their blocked threshold.
#if LV_CLASS <= 3
static_assert(LV_NS::kRow.wholeArrayReversal);
void LV_NAME(BitReverseInPlace)(ComplexFloat32* data, int32_t n, const int32_t* list) {
  LV_NS::Permute128::InPlace(data, n, list);
}

void LV_NAME(BitReverseCopy)(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
  LV_NS::Permute128::Copy(src, dst, n, list);
}
#else
static_assert(!LV_NS::kRow.wholeArrayReversal);
#endif

// Classes 5 and 7 use the class-4 tile moves.
#if LV_CLASS != 5 && LV_CLASS != 7
static_assert(LV_NS::kRow.tileMoveClass == LV_NS::kClass);
void LV_NAME(TileGather)(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                         int32_t rowLength) {
  LV_NS::TileMoves::Gather(src, dst, rowStride, rowCount, rowLength);
}

void LV_NAME(TileScatter)(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                          int32_t rowLength, int32_t last) {
  LV_NS::TileMoves::Scatter(dst, src, rowStride, rowCount, rowLength, last);
}
#else
static_assert(LV_NS::kRow.tileMoveClass == kClassAvx);
#endif
#endif
