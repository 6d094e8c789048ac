// The transforms of classes 1 to 4, each forced through the dispatch override,
// at orders 0 to 22 (24 to 27 in the huge tests): the verifier against FFTW in
// double with every property up to order 22, the round trip, and the exact
// relations (mirror, scaling exactly once per road, source unchanged, in place).
#include "tests/fft/transform/fft_class_transform.h"

namespace {

using fft_class_transform::CaseName;
using fft_class_transform::Cases;
using fft_class_transform::ClassTransform;

TEST_P(ClassTransform, AgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam().order, lv_test::kFftAllProperties);
}

TEST_P(ClassTransform, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam().order); }

INSTANTIATE_TEST_SUITE_P(Orders0To22, ClassTransform, ::testing::ValuesIn(Cases(0, 22)), CaseName);

}  // namespace
