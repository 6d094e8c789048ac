// The forward and inverse transforms of one processor class whose transforms
// are wired (class table: transformClass): class 0 the portable roads
// (transform_scalar.inl), the vector classes the vector roads
// (transform_vector.inl). Each checks its arguments, aligns the work buffer
// and takes the road of the FFT plan's order. No intrinsics.
#include <cstdint>

#include "cpu/dispatch.h"
#include "fft/drivers/large_order.h"
#include "fft/fft.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/kernels/butterfly.h"
#include "fft/kernels/small_kernels.h"
#include "fft/manycore/many_core.h"
#include "fft/setup/fft_spec.h"
#include "fft/setup/permute.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/vector_types.h"

#if LV_CLASS == 0
#include "fft/drivers/transform_scalar.inl"
#else
#include "fft/drivers/transform_vector.inl"
#endif
