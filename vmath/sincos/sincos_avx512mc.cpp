// Sine and cosine, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "vmath/sincos/sincos_body.inl"
