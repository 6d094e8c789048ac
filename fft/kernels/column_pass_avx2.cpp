// Column passes of class 5 (groups of 8, fused products).
#include <cstdint>

#include "fft/kernels/column_pass.h"
#include "fft/kernels/column_pass_vector.inl"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(5);

#define LV_CP_SUFFIX Avx2
#define LV_CP_NS lv_avx2
#define LV_CP_WIDTH 8
#define LV_CP_FUSED true
#include "fft/kernels/column_pass_body.inl"
