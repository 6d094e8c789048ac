// The vector primitives the signal core calls, by their entry-point names.
// Each is a dispatcher that runs the implementation of the processor's class.
#pragma once

#include "primitives/alloc/alloc.h"
#include "primitives/arith/arith.h"
#include "primitives/complexpack/complexpack.h"
#include "primitives/convert/convert.h"
#include "primitives/copy/copy.h"
#include "primitives/extremes/extremes.h"
#include "primitives/logarithm/logarithm.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/phase/phase.h"
#include "primitives/sum/sum.h"
#include "primitives/threshold/threshold.h"
#include "primitives/vector_types.h"
#include "primitives/zerofill/zerofill.h"
