// Large-order forward and inverse drivers of class 4 (Avx).
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(4);

#define LV_LO_SUFFIX Avx
#define LV_LO_NS lv_avx
#define LV_LO_TILE_SUFFIX Avx
#include "fft/large_order_class.inl"
