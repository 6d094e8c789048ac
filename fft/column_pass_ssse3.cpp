// Column passes of class 2 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(2);

#define LV_CP_SUFFIX Ssse3
#define LV_CP_NS lv_ssse3
#define LV_CP_WIDTH 4
#define LV_CP_FUSED false
#include "fft/column_pass_class.inl"
