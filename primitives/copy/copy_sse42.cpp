// Copy of class 3 (Sse42): forward or backward rounds by page offset, byte-align shifts, streaming above half the cache.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_sse42_kernel.inl"
}  // namespace
}  // namespace lv_sse42

#define LV_CP_SUFFIX Sse42
#define LV_CP_NS lv_sse42
#define LV_CP_SPLIT 0
#include "primitives/copy/copy_entries.inl"
