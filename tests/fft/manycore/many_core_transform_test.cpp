// Class 6 (Avx512ManyCore) forced through the dispatch's test-only override:
// the dispatched entry points run its own size query, plan and transforms.
// Orders 0 to 22: forward and inverse against FFTW in double with the
// verifier's properties (linearity, impulse, shift, source untouched, in place
// equal to out of place) and the round trip, then the exact relations (mirror,
// one scaling per direction, in place, source unchanged). The dispatched calls
// equal class 6's own functions bit for bit at every order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cpu/dispatch_testing.h"
#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "support/bits.h"
#include "support/fft_reference.h"
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

class ManyCoreThroughTheDispatch : public ::testing::TestWithParam<int> {
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

TEST_P(ManyCoreThroughTheDispatch, AgreesWithDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam(), lv_test::kFftAllProperties);
}

TEST_P(ManyCoreThroughTheDispatch, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam()); }

// The dispatched size query, plan and transforms are class 6's own.
TEST_P(ManyCoreThroughTheDispatch, RunsItsOwnFunctions) {
  const int order = GetParam();
  const int64_t n = int64_t{1} << order;
  lv_test::FftPlan direct(FftGetSizeComplexFloat32Avx512ManyCore, FftInitComplexFloat32Avx512ManyCore, order,
                          kFftScaleInverse);
  lv_test::FftPlan dispatched(order, kFftScaleInverse);
  ASSERT_EQ(direct.status, 0);
  ASSERT_EQ(dispatched.status, 0);
  EXPECT_EQ(dispatched.specBytes, direct.specBytes);
  EXPECT_EQ(dispatched.workBytes, direct.workBytes);
  const std::vector<ComplexFloat32> x = lv_test::RandomSignal(n, 40 + static_cast<uint32_t>(order));
  std::vector<ComplexFloat32> a(n), b(n);
  ASSERT_EQ(FftForwardComplexFloat32Avx512ManyCore(x.data(), a.data(), direct.spec, direct.work()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), b.data(), dispatched.spec, dispatched.work()), 0);
  EXPECT_TRUE(lv_test::SameBits(a, b)) << "forward, order " << order;
  ASSERT_EQ(FftInverseComplexFloat32Avx512ManyCore(x.data(), a.data(), direct.spec, direct.work()), 0);
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), b.data(), dispatched.spec, dispatched.work()), 0);
  EXPECT_TRUE(lv_test::SameBits(a, b)) << "inverse, order " << order;
}

INSTANTIATE_TEST_SUITE_P(Orders, ManyCoreThroughTheDispatch, ::testing::Range(0, 23));

}  // namespace
