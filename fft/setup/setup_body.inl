// FFT set-up of one processor class: the size query, FFT plan initialisation
// and table builders, with the limits of the class table. Class 0 builds the
// portable plan (setup_scalar.inl), classes 1 to 7 the vector plan
// (setup_vector.inl); class 6 also builds its many-core plan for the small
// orders (many_core_plan.inl).
#include <immintrin.h>

#include <cmath>
#include <cstdint>

#include "fft/fft.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/setup/fft_spec.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/permute.h"
#include "fft/setup/setup.h"
#include "primitives/sqrt/sqrt_classes.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "vmath/sincos/sincos.h"
#if LV_CLASS == 6
#include "vmath/rcp28.h"
#endif

#if LV_CLASS == 0
#include "fft/setup/setup_scalar.inl"
#else
#include "fft/setup/setup_vector.inl"
#endif

#if LV_CLASS == 6
#include "fft/setup/many_core_plan.inl"
#endif
