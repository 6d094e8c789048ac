// Large-order forward and inverse drivers of class 7 (Avx512).
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(7);

#define LV_LO_SUFFIX Avx512
#define LV_LO_NS lv_avx512
#define LV_LO_TILE_SUFFIX Avx
#include "fft/large_order_class.inl"
