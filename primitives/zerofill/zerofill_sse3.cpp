// Zero fill of class 1 (Sse3): 16-byte stores, non-temporal above the cache size.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"
#include "primitives/zerofill/zerofill.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/zerofill/zerofill_sse_kernel.inl"
}  // namespace
}  // namespace lv_sse3

#define LV_ZF_SUFFIX Sse3
#define LV_ZF_NS lv_sse3
#include "primitives/zerofill/zerofill_entries.inl"
