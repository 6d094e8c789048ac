// Large-order forward and inverse drivers of class 3 (Sse42), orders 18 to 28:
// plain whole-array bit reversal at order 18, 64 x 64 tiles from order 19 on.
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(3);

#define LV_LO_SUFFIX Sse42
#define LV_LO_NS lv_sse42
#define LV_LO_TILE_SUFFIX Sse42
#define LV_LO_LEAF_LIMIT 17
#define LV_LO_BLOCKED_THRESHOLD 19
#define LV_LO_TILE_COPY_LAST 22
#define LV_LO_CHUNK_BYTES 67108864
#define LV_LO_PLAIN_REVERSAL
#include "fft/large_order_class.inl"
