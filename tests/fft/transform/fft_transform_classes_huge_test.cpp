// The transforms of classes 1 to 4 at orders 24 to 27, each forced through the
// dispatch override: against FFTW in double, and the exact relations (mirror,
// scaling exactly once, source unchanged, in place). Several GiB of memory.
#include "tests/fft/transform/fft_class_transform.h"

namespace {

using fft_class_transform::CaseName;
using fft_class_transform::Cases;
using fft_class_transform::ClassTransform;

TEST_P(ClassTransform, AgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam().order, lv_test::kFftAccuracy);
}

TEST_P(ClassTransform, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam().order); }

INSTANTIATE_TEST_SUITE_P(Orders24To27, ClassTransform, ::testing::ValuesIn(Cases(24, 27)), CaseName);

}  // namespace
