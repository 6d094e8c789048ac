// Many-core small-order kernels, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "fft/manycore/small_body.inl"
