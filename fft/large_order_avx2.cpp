// Large-order forward and inverse drivers of class 5 (Avx2).
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(5);

#define LV_LO_SUFFIX Avx2
#define LV_LO_NS lv_avx2
#define LV_LO_TILE_SUFFIX Avx
#include "fft/large_order_class.inl"
