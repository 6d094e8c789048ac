// SLEEF logf peer, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "bench/vmath/ln_peer_body.inl"
