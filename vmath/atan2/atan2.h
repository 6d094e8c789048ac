// The vector arctangent Atan2Float32: dst[i] = atan2(y[i], x[i]) in radians.
//
// One kernel per processor class, reached only through the stub of that class.
// Every kernel: n <= 0 gives -6 (tested first), then a null y, x or dst gives
// -8 and nothing is written; otherwise all n results are written and the
// status is 0 whatever the data. dst may be y or x.
//
// The kernels, special-value routines and records of the classes are declared
// in atan2_classes.h (for the class table, the stubs and the tests).
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/vmath_record.h"

// The stubs, one per class: one load of cell 0 of the class's record and one
// jump to the kernel there.
LV_DECLARE_CLASSES(int32_t, Atan2Float32Stub, (const float* y, const float* x, float* dst, int32_t n));
