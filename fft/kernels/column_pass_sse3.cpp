// Column passes of class 1 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/kernels/column_pass.h"
#include "fft/kernels/column_pass_vector.inl"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(1);

#define LV_CP_SUFFIX Sse3
#define LV_CP_NS lv_sse3
#define LV_CP_WIDTH 4
#define LV_CP_FUSED false
#include "fft/kernels/column_pass_body.inl"
