// Zero fill of class 6 (Avx512ManyCore): 32-byte stores up to the size threshold, the repeated byte store above.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"
#include "primitives/zerofill/zerofill.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/zerofill/zerofill_avx_kernel.inl"
}  // namespace
}  // namespace lv_avx512mc

#define LV_ZF_SUFFIX Avx512ManyCore
#define LV_ZF_NS lv_avx512mc
#include "primitives/zerofill/zerofill_entries.inl"
