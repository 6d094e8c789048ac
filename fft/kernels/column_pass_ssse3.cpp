// Column passes of class 2 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/kernels/column_pass.h"
#include "fft/kernels/column_pass_vector.inl"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(2);

#define LV_CP_SUFFIX Ssse3
#define LV_CP_NS lv_ssse3
#define LV_CP_WIDTH 4
#define LV_CP_FUSED false
#include "fft/kernels/column_pass_body.inl"
