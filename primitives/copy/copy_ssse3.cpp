// Copy of class 2 (Ssse3): 128-byte rounds, streaming above half the cache.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_ssse3_kernel.inl"
}  // namespace
}  // namespace lv_ssse3

#define LV_CP_SUFFIX Ssse3
#define LV_CP_NS lv_ssse3
#define LV_CP_SPLIT 0
#include "primitives/copy/copy_entries.inl"
