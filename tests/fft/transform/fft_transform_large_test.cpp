// Orders 21 to 24 of the portable transforms through every property of the
// verifier, against FFTW in double (about a minute).
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

class FftTransformLarge : public testing::TestWithParam<int> {};
TEST_P(FftTransformLarge, EveryPropertyAgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam(), lv_test::kFftAllProperties);
}
INSTANTIATE_TEST_SUITE_P(Orders21To24, FftTransformLarge, testing::Range(21, 25));

}  // namespace
