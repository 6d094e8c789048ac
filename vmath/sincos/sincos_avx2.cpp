// Sine and cosine of class 5 (AVX2 with fused multiply-add): sine in blocks
// of 16, cosine in blocks of 32.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

#define LV_SINCOS_FUSED 1
namespace lv_avx2 {
namespace {

#include "vmath/sincos/sincos_ops_avx.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_avx2


int32_t SinFloat32KernelAvx2(const float* src, float* dst, int32_t n) {
  return lv_avx2::sc::Kernel<lv_avx2::Ops, false, 2>(src, dst, n, &lv_avx2::g_sinStatusCell, SinFloat32SpecialValuesAvx);
}

int32_t CosFloat32KernelAvx2(const float* src, float* dst, int32_t n) {
  return lv_avx2::sc::Kernel<lv_avx2::Ops, true, 4>(src, dst, n, &lv_avx2::g_cosStatusCell, SinFloat32SpecialValuesAvx);
}
