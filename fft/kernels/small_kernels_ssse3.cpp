// FFT small-order kernels, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "fft/kernels/small_kernels_body.inl"
