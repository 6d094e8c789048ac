// Zero fill of class 0 (Sse2): byte and 4-byte stores around 16-byte stores.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"
#include "primitives/zerofill/zerofill.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/zerofill/zerofill_sse0_kernel.inl"
}  // namespace
}  // namespace lv_sse2

#define LV_ZF_SUFFIX Sse2
#define LV_ZF_NS lv_sse2
#include "primitives/zerofill/zerofill_entries.inl"
