// Copy of class 7 (Avx512): as class 5 (32-byte units).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_avx_kernel.inl"
#include "primitives/copy/copy_large_kernel.inl"
}  // namespace
}  // namespace lv_avx512

#define LV_CP_SUFFIX Avx512
#define LV_CP_NS lv_avx512
#define LV_CP_SPLIT 1
#include "primitives/copy/copy_entries.inl"
