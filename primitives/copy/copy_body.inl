// The copy, written once and built once per processor class (copy_sse2.cpp
// ... copy_avx512.cpp). Each class's byte copy runs one kernel of
// copy_128.inl (classes 0-3) or copy_256.inl (classes 4-7), the one its row
// of the class table names; the typed copies hand it n * element size bytes.
#include <cstdint>

#include "cpu/dispatch.h"
#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/copy/copy_classes.h"

namespace LV_NS {
namespace {

// The byte-copy kernels.
enum class ByteCopy {
  kPlain16,       // 64-byte rounds to an aligned destination, through the cache
  kLddqu64,       // 64-byte rounds, LDDQU for an unaligned source, streaming when large
  kHalves128,     // 128-byte rounds, an unaligned source read as 8-byte halves, streaming when large
  kPageOrder,     // rounds ordered by page offset, byte-align shifts, streaming when large
  kUnits32,       // 32-byte units below 32 KiB, the string move above
  kUnits32Large,  // 32-byte units below 32 KiB, the large-block road above
};

struct CopyClass {
  ByteCopy kernel;
  // The typed copies go through the class's byte-copy member in pieces of at
  // most 0x7FFFFFE0 bytes (its count is 32-bit) rather than handing the whole
  // 64-bit byte count to the kernel.
  bool inPieces;
};

// The class table. Classes 0-3 have a kernel each; classes 6 and 7 run class
// 5's kernel unchanged (32-byte units, no 64-byte stores).
constexpr CopyClass kCopyClasses[kProcessorClassCount] = {
    {ByteCopy::kPlain16, false},       // 0 Sse2
    {ByteCopy::kLddqu64, false},       // 1 Sse3
    {ByteCopy::kHalves128, false},     // 2 Ssse3
    {ByteCopy::kPageOrder, false},     // 3 Sse42
    {ByteCopy::kUnits32, true},        // 4 Avx
    {ByteCopy::kUnits32Large, true},   // 5 Avx2
    {ByteCopy::kUnits32Large, true},   // 6 Avx512ManyCore: class 5's kernel
    {ByteCopy::kUnits32Large, true},   // 7 Avx512: class 5's kernel
};

}  // namespace
}  // namespace LV_NS

// CopyBytes(s, d, n) of the class, from the kernels of its vector width.
#if LV_CLASS <= 3
#include "primitives/copy/copy_128.inl"
#else
#include "primitives/copy/copy_256.inl"
#endif

int32_t LV_NAME(VectorCopyUint8)(const void* src, void* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  LV_NS::CopyBytes(static_cast<const uint8_t*>(src), static_cast<uint8_t*>(dst), n);
  return StatusOk;
}

namespace LV_NS {
namespace {
[[gnu::always_inline]] inline int32_t CopyElements(const void* src, void* dst, int32_t n, int64_t elementSize) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  // 64-bit byte count: n * element size may exceed 2^31.
  int64_t bytes = int64_t{n} * elementSize;
  auto* s = static_cast<const uint8_t*>(src);
  auto* d = static_cast<uint8_t*>(dst);
  if constexpr (kCopyClasses[kClass].inPieces) {
    constexpr int32_t kPiece = 0x7FFFFFE0;
    while (bytes > 0x7FFFFFFF) {
      LV_NAME(VectorCopyUint8)(s, d, kPiece);
      s += kPiece;
      d += kPiece;
      bytes -= kPiece;
    }
    LV_NAME(VectorCopyUint8)(s, d, static_cast<int32_t>(bytes));
  } else {
    CopyBytes(s, d, bytes);
  }
  return StatusOk;
}
}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorCopyInt16)(const void* src, void* dst, int32_t n) { return LV_NS::CopyElements(src, dst, n, 2); }
int32_t LV_NAME(VectorCopyFloat32)(const void* src, void* dst, int32_t n) {
  return LV_NS::CopyElements(src, dst, n, 4);
}
int32_t LV_NAME(VectorCopyComplexFloat32)(const void* src, void* dst, int32_t n) {
  return LV_NS::CopyElements(src, dst, n, 8);
}
