// Sine and cosine of classes 1, 2 and 3 (one pair of kernels from SSE2
// instructions): blocks of eight, results identical to class 0.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(1);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

namespace lv_sse3 {
namespace {

#include "vmath/sincos/sincos_ops_sse.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_sse3

int32_t SinFloat32SpecialValuesSse3(const float* x, float* result) { return lv_sse3::sc::SpecialValues(x, result); }

int32_t SinFloat32KernelSse3(const float* src, float* dst, int32_t n) {
  return lv_sse3::sc::Kernel<lv_sse3::Ops, false, 2>(src, dst, n, &lv_sse3::g_sinStatusCell, SinFloat32SpecialValuesSse3);
}

int32_t CosFloat32KernelSse3(const float* src, float* dst, int32_t n) {
  return lv_sse3::sc::Kernel<lv_sse3::Ops, true, 2>(src, dst, n, &lv_sse3::g_cosStatusCell, SinFloat32SpecialValuesSse3);
}
