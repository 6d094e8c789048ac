// Copy of class 1 (Sse3): 64-byte rounds, streaming above a per-core share of the cache.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_sse3_kernel.inl"
}  // namespace
}  // namespace lv_sse3

#define LV_CP_SUFFIX Sse3
#define LV_CP_NS lv_sse3
#define LV_CP_SPLIT 0
#include "primitives/copy/copy_entries.inl"
