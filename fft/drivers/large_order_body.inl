// The large-order drivers of one processor class (fft/drivers/large_order.h):
// class 0 the portable driver on its own butterflies (large_order_scalar.inl),
// classes 1 to 7 the tiled driver on the class's in-place kernel, column
// passes and tile moves (large_order_vector.inl), with the limits and
// borrowings of the class table. No intrinsics: the drivers only order the
// passes and call the kernels.
#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/drivers/large_order.h"
#include "fft/kernels/butterfly.h"
#include "fft/kernels/column_pass.h"
#include "fft/setup/fft_spec.h"
#include "fft/setup/permute.h"
#include "fft/setup/setup.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/copy/copy_classes.h"
#include "primitives/vector_types.h"

#if LV_CLASS == 0
#include "fft/drivers/large_order_scalar.inl"
#else
#include "fft/drivers/large_order_vector.inl"
#endif
