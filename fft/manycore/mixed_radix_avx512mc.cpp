// Many-core mixed-radix transform, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "fft/manycore/mixed_radix_body.inl"
