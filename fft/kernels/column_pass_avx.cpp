// Column passes of class 4 (groups of 8, separate products and sums).
#include <cstdint>

#include "fft/kernels/column_pass.h"
#include "fft/kernels/column_pass_vector.inl"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(4);

#define LV_CP_SUFFIX Avx
#define LV_CP_NS lv_avx
#define LV_CP_WIDTH 8
#define LV_CP_FUSED false
#include "fft/kernels/column_pass_body.inl"
