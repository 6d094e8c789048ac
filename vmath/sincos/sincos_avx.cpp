// Sine and cosine of class 4 (AVX, no fused multiply-add): blocks of 32,
// results identical to class 0. The special-value routine here also serves class 5.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

#define LV_SINCOS_FUSED 0
namespace lv_avx {
namespace {

#include "vmath/sincos/sincos_ops_avx.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_avx

int32_t SinFloat32SpecialValuesAvx(const float* x, float* result) { return lv_avx::sc::SpecialValues(x, result); }

int32_t SinFloat32KernelAvx(const float* src, float* dst, int32_t n) {
  return lv_avx::sc::Kernel<lv_avx::Ops, false, 4>(src, dst, n, &lv_avx::g_sinStatusCell, SinFloat32SpecialValuesAvx);
}

int32_t CosFloat32KernelAvx(const float* src, float* dst, int32_t n) {
  return lv_avx::sc::Kernel<lv_avx::Ops, true, 4>(src, dst, n, &lv_avx::g_cosStatusCell, SinFloat32SpecialValuesAvx);
}
