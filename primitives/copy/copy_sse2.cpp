// Copy of class 0 (Sse2): a plain forward copy with 16-byte units.
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "cpu/dispatch.h"
#include "primitives/roads.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
#include "primitives/kernel_moves.inl"
#include "primitives/copy/copy_sse0_kernel.inl"
}  // namespace
}  // namespace lv_sse2

#define LV_CP_SUFFIX Sse2
#define LV_CP_NS lv_sse2
#define LV_CP_SPLIT 0
#include "primitives/copy/copy_entries.inl"
