// The largest orders (25 to 27 against FFTW in double; the exact properties
// at 23 to 27, where the rows recurse one level deeper).
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

class FftTransformHuge : public testing::TestWithParam<int> {};
TEST_P(FftTransformHuge, AgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam(), lv_test::kFftAccuracy);
}
INSTANTIATE_TEST_SUITE_P(Orders25To27, FftTransformHuge, testing::Range(25, 28));

class FftExactPropertiesHuge : public testing::TestWithParam<int> {};
TEST_P(FftExactPropertiesHuge, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Orders, FftExactPropertiesHuge, testing::Range(23, 28));

}  // namespace
