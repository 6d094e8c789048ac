// The zero fill, written once and built once per processor class
// (zerofill_sse2.cpp ... zerofill_avx512.cpp). Each class fills through one
// kernel of zerofill_128.inl (classes 0-3) or zerofill_256.inl (classes 4-7),
// the one its row of the class table names. Byte counts are 64-bit, so
// n * element size never wraps.
#include <cstdint>

#include "cpu/dispatch.h"
#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/zerofill/zerofill_classes.h"

namespace LV_NS {
namespace {

// The zero-fill kernels.
enum class ZeroFill {
  kPlain16,   // 16-byte stores (four per round) around a short head and tail
  kStream16,  // 16-byte stores, non-temporal above the size of the largest cache
  kUnits32,   // 32-byte stores up to a size threshold, the repeated byte store above
};

// The class table. Classes 1-3 run one kernel, and so do classes 4-7 (the
// AVX-512 classes with 32-byte stores).
constexpr ZeroFill kZeroFillClasses[kProcessorClassCount] = {
    ZeroFill::kPlain16,   // 0 Sse2
    ZeroFill::kStream16,  // 1 Sse3
    ZeroFill::kStream16,  // 2 Ssse3
    ZeroFill::kStream16,  // 3 Sse42
    ZeroFill::kUnits32,   // 4 Avx
    ZeroFill::kUnits32,   // 5 Avx2
    ZeroFill::kUnits32,   // 6 Avx512ManyCore
    ZeroFill::kUnits32,   // 7 Avx512
};

// The 256-bit kernel hands fills above this many bytes to its large road:
// 32 KiB for bytes, 2 MiB for the typed fills.
constexpr int64_t kByteFillThreshold = 0x8000;
constexpr int64_t kTypedFillThreshold = 0x200000;

}  // namespace
}  // namespace LV_NS

// ZeroFillBytes(p, bytes, threshold) of the class, from the kernels of its vector width.
#if LV_CLASS <= 3
#include "primitives/zerofill/zerofill_128.inl"
#else
#include "primitives/zerofill/zerofill_256.inl"
#endif

namespace LV_NS {
namespace {
[[gnu::always_inline]] inline int32_t ZeroFillElements(void* dst, int32_t n, int64_t elementSize, int64_t threshold) {
  if (dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  ZeroFillBytes(static_cast<uint8_t*>(dst), int64_t{n} * elementSize, threshold);
  return StatusOk;
}
}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorZeroFillUint8)(void* dst, int32_t n) {
  return LV_NS::ZeroFillElements(dst, n, 1, LV_NS::kByteFillThreshold);
}
int32_t LV_NAME(VectorZeroFillInt16)(void* dst, int32_t n) {
  return LV_NS::ZeroFillElements(dst, n, 2, LV_NS::kTypedFillThreshold);
}
int32_t LV_NAME(VectorZeroFillInt32)(void* dst, int32_t n) {
  return LV_NS::ZeroFillElements(dst, n, 4, LV_NS::kTypedFillThreshold);
}
int32_t LV_NAME(VectorZeroFillComplexFloat32)(void* dst, int32_t n) {
  return LV_NS::ZeroFillElements(dst, n, 8, LV_NS::kTypedFillThreshold);
}
