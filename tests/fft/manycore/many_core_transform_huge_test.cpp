// Class 6 forced through the dispatch at orders 23 to 27: against FFTW in
// double (orders 24 to 27), the exact relations at 23 to 27.
#include <gtest/gtest.h>

#include <memory>

#include "cpu/dispatch_testing.h"
#include "support/fft_reference.h"
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

class ManyCoreThroughTheDispatchHuge : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(kClassAvx512ManyCore)) {
      GTEST_SKIP() << "processor class Avx512ManyCore is not supported by this processor";
    }
    force_ = std::make_unique<ScopedProcessorClass>(kClassAvx512ManyCore);
  }
  void TearDown() override { force_.reset(); }

 private:
  std::unique_ptr<ScopedProcessorClass> force_;
};

TEST_P(ManyCoreThroughTheDispatchHuge, AgreesWithDoublePrecision) {
  if (GetParam() < 24) GTEST_SKIP() << "order 23 is checked for its exact relations only";
  fft_transform_checks::CheckOrder(GetParam(), lv_test::kFftAccuracy);
}

TEST_P(ManyCoreThroughTheDispatchHuge, MirrorScaleAndInPlace) {
  fft_transform_checks::CheckExactProperties(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Orders, ManyCoreThroughTheDispatchHuge, ::testing::Range(23, 28));

}  // namespace
