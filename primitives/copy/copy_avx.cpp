// Copy of class 4 (Avx): 32-byte units below 32 KiB, the string move above.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_avx_kernel.inl"
#include "primitives/copy/copy_avx4_tail.inl"
}  // namespace
}  // namespace lv_avx

#define LV_CP_SUFFIX Avx
#define LV_CP_NS lv_avx
#define LV_CP_SPLIT 1
#include "primitives/copy/copy_entries.inl"
