// The four class implementations of the zero fill, at global scope, for the
// class named by LV_ZF_SUFFIX whose namespace LV_ZF_NS holds
// ZeroFillBytes(pointer, bytes, threshold). Byte counts are 64-bit, so
// n * element size never wraps. Included once by each per-class file.
#define LV_ZF_PASTE2(a, b) a##b
#define LV_ZF_PASTE(a, b) LV_ZF_PASTE2(a, b)
#define LV_ZF_NAME(base) LV_ZF_PASTE(base, LV_ZF_SUFFIX)

namespace LV_ZF_NS {
namespace {
// Classes 4-7 hand fills above this many bytes to the large road: 32 KiB for
// bytes, 2 MiB for the typed fills. Classes 0-3 ignore it.
constexpr int64_t kByteFillThreshold = 0x8000;
constexpr int64_t kTypedFillThreshold = 0x200000;

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
}  // namespace LV_ZF_NS

int32_t LV_ZF_NAME(VectorZeroFillUint8)(void* dst, int32_t n) {
  return LV_ZF_NS::ZeroFillElements(dst, n, 1, LV_ZF_NS::kByteFillThreshold);
}
int32_t LV_ZF_NAME(VectorZeroFillInt16)(void* dst, int32_t n) {
  return LV_ZF_NS::ZeroFillElements(dst, n, 2, LV_ZF_NS::kTypedFillThreshold);
}
int32_t LV_ZF_NAME(VectorZeroFillInt32)(void* dst, int32_t n) {
  return LV_ZF_NS::ZeroFillElements(dst, n, 4, LV_ZF_NS::kTypedFillThreshold);
}
int32_t LV_ZF_NAME(VectorZeroFillComplexFloat32)(void* dst, int32_t n) {
  return LV_ZF_NS::ZeroFillElements(dst, n, 8, LV_ZF_NS::kTypedFillThreshold);
}

#undef LV_ZF_NAME
#undef LV_ZF_PASTE
#undef LV_ZF_PASTE2
