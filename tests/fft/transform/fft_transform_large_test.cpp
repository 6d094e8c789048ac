// Accuracy of orders 21 to 24 against FFTW in double precision (about 40 s).
#include "fft_check.h"

namespace {

TEST(FftTransformLarge, Orders21To24AgainstDoublePrecision) {
  for (int order = 21; order <= 24; ++order) {
    fft_test::CheckAccuracy(order);
  }
}

}  // namespace
