// FFT column passes, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "fft/kernels/column_pass_body.inl"
