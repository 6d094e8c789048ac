// Copy of class 6 (Avx512ManyCore): as class 5 (32-byte units).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_avx_kernel.inl"
#include "primitives/copy/copy_large_kernel.inl"
}  // namespace
}  // namespace lv_avx512mc

#define LV_CP_SUFFIX Avx512ManyCore
#define LV_CP_NS lv_avx512mc
#define LV_CP_SPLIT 1
#include "primitives/copy/copy_entries.inl"
