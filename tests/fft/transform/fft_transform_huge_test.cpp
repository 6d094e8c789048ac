// The largest orders (25 to 27 against FFTW in double; the exact properties
// at 23 to 27, where the rows recurse one level deeper).
#include "fft_check.h"

namespace {

TEST(FftTransformHuge, Orders25To27AgainstDoublePrecision) {
  for (int order = 25; order <= 27; ++order) {
    fft_test::CheckAccuracy(order);
  }
}

class FftExactPropertiesHuge : public testing::TestWithParam<int> {};
TEST_P(FftExactPropertiesHuge, MirrorScaleAndInPlace) { fft_test::CheckExactProperties(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Orders, FftExactPropertiesHuge, testing::Range(23, 28));

}  // namespace
