// Plain and scaled conversions of processor class 2 (SSSE3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
constexpr int kClass = 2;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_ssse3

LV_CONVERT_EXPORT(Ssse3, lv_ssse3)
