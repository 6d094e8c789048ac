// Scalar square roots, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "primitives/sqrt/sqrt_body.inl"
