// Plain and scaled conversions of processor class 3 (SSE4.2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
constexpr int kClass = 3;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_sse42

LV_CONVERT_EXPORT(Sse42, lv_sse42)
