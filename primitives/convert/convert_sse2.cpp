// Plain and scaled conversions of processor class 0 (SSE2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
constexpr int kClass = 0;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_sse2

LV_CONVERT_EXPORT(Sse2, lv_sse2)
