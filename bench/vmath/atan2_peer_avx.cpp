// SLEEF atan2 peer, one processor class (the build sets LV_CLASS from the file name).
#include "cpu/per_class.h"
#include "bench/vmath/atan2_peer_body.inl"
