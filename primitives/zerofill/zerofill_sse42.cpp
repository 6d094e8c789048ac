// Zero fill of class 3 (Sse42): 16-byte stores, non-temporal above the cache size.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"
#include "primitives/zerofill/zerofill.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/zerofill/zerofill_sse_kernel.inl"
}  // namespace
}  // namespace lv_sse42

#define LV_ZF_SUFFIX Sse42
#define LV_ZF_NS lv_sse42
#include "primitives/zerofill/zerofill_entries.inl"
