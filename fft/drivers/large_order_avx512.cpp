// Large-order forward and inverse drivers of class 7 (Avx512).
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

LV_ASSERT_CLASS(7);

#define LV_LO_SUFFIX Avx512
#define LV_LO_NS lv_avx512
#define LV_LO_TILE_SUFFIX Avx
#include "fft/drivers/large_order_body.inl"
