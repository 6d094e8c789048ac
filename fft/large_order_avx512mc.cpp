// Large-order forward and inverse drivers of class 6 (Avx512ManyCore), orders 19
// to 28; the class's forward and inverse roads do not take them yet.
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(6);

#define LV_LO_SUFFIX Avx512ManyCore
#define LV_LO_NS lv_avx512mc
#define LV_LO_TILE_SUFFIX Avx512ManyCore
#include "fft/large_order_class.inl"
