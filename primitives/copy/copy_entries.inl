// The four class implementations of the copy, at global scope, for the class
// named by LV_CP_SUFFIX whose namespace LV_CP_NS holds CopyBytes(src, dst,
// bytes). Classes 0-3 (LV_CP_SPLIT 0) hand the whole 64-bit byte count to
// their kernel; classes 4-7 (LV_CP_SPLIT 1) copy through their byte-copy
// implementation in pieces of at most 0x7FFFFFE0 bytes.
#define LV_CP_PASTE2(a, b) a##b
#define LV_CP_PASTE(a, b) LV_CP_PASTE2(a, b)
#define LV_CP_NAME(base) LV_CP_PASTE(base, LV_CP_SUFFIX)

int32_t LV_CP_NAME(VectorCopyUint8)(const void* src, void* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  LV_CP_NS::CopyBytes(static_cast<const uint8_t*>(src), static_cast<uint8_t*>(dst), n);
  return StatusOk;
}

namespace LV_CP_NS {
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
#if LV_CP_SPLIT
  constexpr int32_t kPiece = 0x7FFFFFE0;
  while (bytes > 0x7FFFFFFF) {
    LV_CP_NAME(VectorCopyUint8)(s, d, kPiece);
    s += kPiece;
    d += kPiece;
    bytes -= kPiece;
  }
  LV_CP_NAME(VectorCopyUint8)(s, d, static_cast<int32_t>(bytes));
#else
  CopyBytes(s, d, bytes);
#endif
  return StatusOk;
}
}  // namespace
}  // namespace LV_CP_NS

int32_t LV_CP_NAME(VectorCopyInt16)(const void* src, void* dst, int32_t n) {
  return LV_CP_NS::CopyElements(src, dst, n, 2);
}
int32_t LV_CP_NAME(VectorCopyFloat32)(const void* src, void* dst, int32_t n) {
  return LV_CP_NS::CopyElements(src, dst, n, 4);
}
int32_t LV_CP_NAME(VectorCopyComplexFloat32)(const void* src, void* dst, int32_t n) {
  return LV_CP_NS::CopyElements(src, dst, n, 8);
}

#undef LV_CP_NAME
#undef LV_CP_PASTE
#undef LV_CP_PASTE2
