// Accuracy of the largest orders against FFTW in double precision.
#include "fft_check.h"

namespace {

TEST(FftTransformHuge, Orders25To27AgainstDoublePrecision) {
  for (int order = 25; order <= 27; ++order) {
    fft_test::CheckAccuracy(order);
  }
}

}  // namespace
