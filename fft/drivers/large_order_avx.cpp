// Large-order forward and inverse drivers of class 4 (Avx).
#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "fft/kernels/column_pass.h"
#include "fft/setup/permute.h"
#include "fft/setup/setup.h"
#include "fft/drivers/large_order.h"
#include "fft/drivers/large_order_vector.inl"
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/copy/copy.h"

LV_ASSERT_CLASS(4);

#define LV_LO_SUFFIX Avx
#define LV_LO_NS lv_avx
#define LV_LO_TILE_SUFFIX Avx
#include "fft/drivers/large_order_body.inl"
