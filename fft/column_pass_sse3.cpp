// Column passes of class 1 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(1);

#define LV_CP_SUFFIX Sse3
#define LV_CP_NS lv_sse3
#define LV_CP_WIDTH 4
#define LV_CP_FUSED false
#include "fft/column_pass_class.inl"
