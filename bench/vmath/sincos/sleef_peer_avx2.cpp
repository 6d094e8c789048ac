// SLEEF sine and cosine peer, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "bench/vmath/sincos/sleef_peer_body.inl"
