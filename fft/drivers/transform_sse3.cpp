// FFT transforms, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "fft/drivers/transform_body.inl"
