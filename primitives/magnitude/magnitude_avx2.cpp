// Magnitude, power and absolute value, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "primitives/magnitude/magnitude_body.inl"
