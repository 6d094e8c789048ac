#include <gtest/gtest.h>

#include <vector>

#include "core/spectral/fft_wrapper.h"
#include "support/errors.h"
#include "tests/core/spectral/spectral_test_util.h"
#include "tests/support/class_fixture.h"

using namespace lv_test_spectral;

namespace {

class FftWrapperTest : public lv_test::PerClassTest {};

}  // namespace

// Forward and inverse against a double DFT of the zero-padded input, in every
// processor class; the inverse of the forward gives the input back.
TEST_P(FftWrapperTest, MatchesDirectTransformOfPaddedInput) {
  for (int n : {1, 2, 5, 100, 128, 1000}) {
    const auto x = RandomSignal(n, 77u + n);
    CQFFT fwd;
    fwd.Compute(x.data(), n, CQFFT::kForward);
    const int size = fwd.GetFFTSize();
    ASSERT_GE(size, n);
    ASSERT_LT(size, 2 * n + 1);
    ASSERT_EQ(size & (size - 1), 0) << size;
    EXPECT_LT(RelativeError(fwd.GetOutput(), Dft(x.data(), n, size, -1), size), 2e-6) << n;

    CQFFT inv;
    inv.Compute(x.data(), n, CQFFT::kInverse);
    auto want = Dft(x.data(), n, size, +1);
    for (auto& v : want) v /= size;
    EXPECT_LT(RelativeError(inv.GetOutput(), want, size), 2e-6) << n;

    std::vector<CQComplex> spectrum(fwd.GetOutput(), fwd.GetOutput() + size);
    inv.Compute(spectrum.data(), size, CQFFT::kInverse);
    std::vector<cd> padded(size, 0.0);
    for (int i = 0; i < n; ++i) padded[i] = cd(x[i].re, x[i].im);
    EXPECT_LT(RelativeError(inv.GetOutput(), padded, size), 2e-6) << n;
  }
}

TEST_P(FftWrapperTest, InPlaceMatchesOutOfPlace) {
  const int n = 256;
  auto x = RandomSignal(n, 5u);
  CQFFT outOfPlace;
  outOfPlace.Compute(x.data(), n, CQFFT::kForward);
  CQFFT inPlace;
  inPlace.ComputeInPlace(x.data(), n, CQFFT::kForward);
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(x[i].re, outOfPlace.GetOutput()[i].re) << i;
    ASSERT_EQ(x[i].im, outOfPlace.GetOutput()[i].im) << i;
  }
}

LV_INSTANTIATE_PER_CLASS(FftWrapperTest);

TEST(FftWrapper, SizesRoundUpAndTheSpecificationIsReusedUntilTheOrderChanges) {
  const auto x = RandomSignal(300, 1u);
  CQFFT f;
  const struct {
    int n, size, order;
    int64_t specBuilds, bufferAllocs;
  } steps[] = {
      {100, 128, 7, 1, 1},  // first call builds both
      {120, 128, 7, 1, 1},  // same size: reuse
      {128, 128, 7, 1, 1},
      {300, 512, 9, 2, 2},  // new order: rebuild both
      {257, 512, 9, 2, 2},
      {100, 128, 7, 3, 3},
      {1, 1, 0, 4, 4},
  };
  for (const auto& s : steps) {
    f.Compute(x.data(), s.n, CQFFT::kForward);
    EXPECT_EQ(f.GetNumPoints(), s.n);
    EXPECT_EQ(f.GetFFTSize(), s.size) << s.n;
    EXPECT_EQ(f.GetOrder(), s.order) << s.n;
    EXPECT_EQ(f.GetSpecBuildCount(), s.specBuilds) << s.n;
    EXPECT_EQ(f.GetBufferAllocCount(), s.bufferAllocs) << s.n;
    // The padding is zero even after a longer input used the same buffers.
    EXPECT_LT(RelativeError(f.GetOutput(), Dft(x.data(), s.n, s.size, -1), s.size), 2e-6) << s.n;
  }
}

TEST(FftWrapper, OnePointTransformReturnsItsInput) {
  const CQComplex x(0.25f, -3.5f);
  CQFFT f;
  for (int dir : {CQFFT::kForward, CQFFT::kInverse}) {
    f.Compute(&x, 1, dir);
    EXPECT_EQ(f.GetOrder(), 0);
    EXPECT_EQ(f.GetOutput()[0], x);
  }
}

// An in-place transform sets the size without touching the buffers; a later
// Compute of the same size must still allocate them.
TEST(FftWrapper, ComputeAfterInPlaceOfTheSameSizeAllocatesItsBuffers) {
  auto x = RandomSignal(64, 9u);
  const auto orig = x;
  CQFFT f;
  f.ComputeInPlace(x.data(), 64, CQFFT::kForward);
  EXPECT_EQ(f.GetBufferAllocCount(), 0);
  f.Compute(orig.data(), 64, CQFFT::kForward);
  EXPECT_EQ(f.GetBufferAllocCount(), 1);
  EXPECT_EQ(f.GetSpecBuildCount(), 1);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(f.GetOutput()[i], x[i]) << i;
}

TEST(FftWrapper, OtherDirectionsComputeNothing) {
  auto x = RandomSignal(8, 3u);
  const auto orig = x;
  CQFFT f;
  f.ComputeInPlace(x.data(), 8, 3);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(x[i], orig[i]);
}

TEST(FftWrapper, BadArgumentsFailWithMessages) {
  auto x = RandomSignal(96, 2u);
  CQFFT f;
  lv_test::CaughtError e = lv_test::Catch([&] { f.ComputeInPlace(x.data(), 96, CQFFT::kForward); });
  EXPECT_EQ(e.message, "Input array is not of correct size for an in-place computation.");
  EXPECT_NE(e.callStack.find("CQFFT::ComputeInPlace"), std::string::npos);
  e = lv_test::Catch([&] { f.Compute(x.data(), 0, CQFFT::kForward); });
  EXPECT_EQ(e.message, "Invalid number of input points.");
  EXPECT_NE(e.callStack.find("CQFFT::Compute"), std::string::npos);
  EXPECT_EQ(lv_test::Catch([&] { f.Compute(nullptr, 8, CQFFT::kForward); }).message, "Null input pointer.");
  EXPECT_EQ(lv_test::Catch([&] { f.ComputeInPlace(nullptr, 8, CQFFT::kForward); }).message, "Null input pointer.");
  // Beyond the largest order (2^27 points) the specification cannot be built.
  EXPECT_EQ(lv_test::Catch([&] { f.Compute(x.data(), (1 << 27) + 1, CQFFT::kForward); }).message,
            "Error initializing FFT routine.");
}
