// Large-order forward and inverse drivers of class 1 (Sse3): inner transforms
// up to order 16, whole-array bit reversal below order 20, and out of place
// from order 20 on a copy in 8 MB chunks followed by the blocked reversal.
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"

LV_ASSERT_CLASS(1);

#define LV_LO_SUFFIX Sse3
#define LV_LO_NS lv_sse3
#define LV_LO_TILE_SUFFIX Sse3
#define LV_LO_LEAF_LIMIT 16
#define LV_LO_BLOCKED_THRESHOLD 20
#define LV_LO_TILE_COPY_LAST 19
#define LV_LO_CHUNK_BYTES 8388608
#define LV_LO_PLAIN_REVERSAL
#include "fft/large_order_class.inl"
