// Plain and scaled conversions of processor class 1 (SSE3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
constexpr int kClass = 1;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_sse3

LV_CONVERT_EXPORT(Sse3, lv_sse3)
