#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/spectral/czt.h"
#include "support/errors.h"
#include "tests/core/spectral/spectral_test_util.h"

using namespace lv_test_spectral;

namespace {

// The defining sums in double precision.
std::vector<cd> DirectForward(const std::vector<CQComplex>& x, double t0, double dt, double f0, double df,
                              int nf) {
  const int nt = static_cast<int>(x.size());
  std::vector<cd> out(nf);
  for (int k = 0; k < nf; ++k) {
    cd s = 0.0;
    for (int n = 0; n < nt; ++n) {
      const double p = -2.0 * M_PI * (f0 + k * df) * (t0 + n * dt);
      s += cd(x[n].re, x[n].im) * std::polar(1.0, p);
    }
    out[k] = s / double(nt);
  }
  return out;
}

std::vector<cd> DirectInverse(const std::vector<CQComplex>& X, double t0, double dt, int nt, double f0,
                              double df) {
  std::vector<cd> out(nt);
  for (int n = 0; n < nt; ++n) {
    cd s = 0.0;
    for (size_t k = 0; k < X.size(); ++k) {
      const double p = 2.0 * M_PI * (f0 + k * df) * (t0 + n * dt);
      s += cd(X[k].re, X[k].im) * std::polar(1.0, p);
    }
    out[n] = s;
  }
  return out;
}

}  // namespace

// On the DFT grid the forward transform is the DFT divided by N and the
// inverse on the same grids gives the input back.
TEST(ChirpZ, OnTheDftGridItIsTheScaledDftAndItsInverse) {
  const double fs = 1e6;
  for (int n : {2, 8, 100, 1000, 1023, 4096}) {
    const auto x = RandomSignal(n, 11u + n);
    CQCZT fwd;
    fwd.SetTimeParameters(0.0, 1.0 / fs, n);
    fwd.SetFreqParameters(0.0, fs / n, n);
    fwd.Initialize(CQCZT::kForward);
    EXPECT_EQ(fwd.GetFFTLength(), [n] { int l = 1; while (l < 2 * n) l <<= 1; return l; }());
    fwd.Compute(x.data());
    auto dft = Dft(x.data(), n, n, -1);
    for (auto& v : dft) v /= n;
    EXPECT_LT(RelativeError(fwd.GetOutput(), dft, n), 1e-5) << n;

    CQCZT inv;
    inv.SetTimeParameters(0.0, 1.0 / fs, n);
    inv.SetFreqParameters(0.0, fs / n, n);
    inv.Initialize(CQCZT::kInverse);
    inv.Compute(fwd.GetOutput());
    std::vector<cd> want(n);
    for (int i = 0; i < n; ++i) want[i] = cd(x[i].re, x[i].im);
    EXPECT_LT(RelativeError(inv.GetOutput(), want, n), 1e-5) << n;
  }
}

// Offset and zoomed grids, with long chirps (large indices) on either side.
TEST(ChirpZ, ArbitraryGridsMatchTheDefiningSums) {
  const struct {
    double t0, dt;
    int nt;
    double f0, df;
    int nf;
  } grids[] = {
      {1.5e-6, 1.0 / 3e6, 77, -2e5, 1234.5, 300},
      {-2e-3, 1.0 / 30.72e6, 20000, 1e6, 150.0, 50},
      {0.0, 1.0 / 61.44e6, 3, 0.0, 30.72e6 / 65537, 40000},
  };
  for (const auto& g : grids) {
    const auto x = RandomSignal(g.nt, 3u + g.nt);
    CQCZT fwd;
    fwd.SetTimeParameters(g.t0, g.dt, g.nt);
    fwd.SetFreqParameters(g.f0, g.df, g.nf);
    fwd.Initialize(CQCZT::kForward);
    ASSERT_EQ(fwd.GetInputLength(), g.nt);
    ASSERT_EQ(fwd.GetOutputLength(), g.nf);
    fwd.Compute(x.data());
    EXPECT_LT(RelativeError(fwd.GetOutput(), DirectForward(x, g.t0, g.dt, g.f0, g.df, g.nf), g.nf), 1e-5) << g.nt;

    const auto X = RandomSignal(g.nf, 5u + g.nf);
    CQCZT inv;
    inv.SetTimeParameters(g.t0, g.dt, g.nt);
    inv.SetFreqParameters(g.f0, g.df, g.nf);
    inv.Initialize(CQCZT::kInverse);
    ASSERT_EQ(inv.GetInputLength(), g.nf);
    ASSERT_EQ(inv.GetOutputLength(), g.nt);
    inv.Compute(X.data());
    EXPECT_LT(RelativeError(inv.GetOutput(), DirectInverse(X, g.t0, g.dt, g.nt, g.f0, g.df), g.nt), 1e-5) << g.nt;
  }
}

// The tables are built by Initialize only; a failed set-up refuses Compute
// until a later Initialize succeeds.
TEST(ChirpZ, TablesAreBuiltOncePerInitializeAndAFailedSetUpRefusesCompute) {
  const auto x = RandomSignal(64, 1u);
  CQCZT t;
  EXPECT_EQ(lv_test::Catch([&] { t.Compute(x.data()); }).message, "Initialize must be called before Compute.");
  t.SetTimeParameters(0.0, 1.0, 64);
  t.SetFreqParameters(0.0, 1.0 / 64, 64);
  t.Initialize(CQCZT::kForward);
  t.Compute(x.data());
  const std::vector<CQComplex> first(t.GetOutput(), t.GetOutput() + 64);
  t.Compute(x.data());
  EXPECT_EQ(t.GetInitCount(), 1);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(t.GetOutput()[i], first[i]);

  t.SetFreqParameters(0.0, 1.0, 1 << 27);  // needs an FFT beyond 2^27 points
  lv_test::CaughtError e = lv_test::Catch([&] { t.Initialize(CQCZT::kForward); });
  EXPECT_EQ(e.message, "Error initializing FFT routine.");
  EXPECT_NE(e.callStack.find("CQCZT::Initialize"), std::string::npos);
  EXPECT_FALSE(t.IsInitialized());
  EXPECT_EQ(lv_test::Catch([&] { t.Compute(x.data()); }).message, "Initialize must be called before Compute.");
  t.SetFreqParameters(0.0, 1.0 / 64, 64);
  t.Initialize(CQCZT::kForward);
  t.Compute(x.data());
  EXPECT_EQ(t.GetInitCount(), 2);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(t.GetOutput()[i], first[i]);
}

TEST(ChirpZ, BadArgumentsFailWithMessages) {
  CQCZT t;
  lv_test::CaughtError e = lv_test::Catch([&] { t.SetTimeParameters(0.0, 1.0, 1); });
  EXPECT_EQ(e.message, "Invalid number of time domain points.");
  EXPECT_NE(e.callStack.find("CQCZT::SetTimeParameters"), std::string::npos);
  e = lv_test::Catch([&] { t.SetFreqParameters(0.0, 1.0, 0); });
  EXPECT_EQ(e.message, "Invalid number of frequency domain points.");
  EXPECT_NE(e.callStack.find("CQCZT::SetFreqParameters"), std::string::npos);
  // No grid set yet.
  EXPECT_EQ(lv_test::Catch([&] { t.Initialize(CQCZT::kForward); }).message, "Invalid number of time domain points.");
  t.SetTimeParameters(0.0, 1.0, 8);
  t.SetFreqParameters(0.0, 0.125, 8);
  EXPECT_EQ(lv_test::Catch([&] { t.Initialize(3); }).message, "Invalid transform direction.");
  t.Initialize(CQCZT::kInverse);
  e = lv_test::Catch([&] { t.Compute(nullptr); });
  EXPECT_EQ(e.message, "Null pointer to input data.");
  EXPECT_NE(e.callStack.find("CQCZT::Compute"), std::string::npos);
}

// The caller's-array form gives the same bits as the transform's own output,
// which is made only by the one-argument form; a null output is refused.
TEST(ChirpZ, ComputeIntoTheCallersArrayMatchesTheOwnOutputBitForBit) {
  for (int n : {7, 64, 1001}) {
    const auto x = RandomSignal(n, 9u + n);
    CQCZT t;
    t.SetTimeParameters(1e-6, 1.0 / 3e6, n);
    t.SetFreqParameters(-1e6, 3e6 / (n + 3), n + 3);
    t.Initialize(CQCZT::kForward);
    EXPECT_EQ(t.GetOutput(), nullptr);
    std::vector<CQComplex> mine(n + 3);
    t.Compute(x.data(), mine.data());
    EXPECT_EQ(t.GetOutput(), nullptr) << n;
    t.Compute(x.data());
    ASSERT_NE(t.GetOutput(), nullptr);
    for (int i = 0; i < n + 3; ++i) ASSERT_EQ(mine[i], t.GetOutput()[i]) << n << " " << i;
    lv_test::CaughtError e = lv_test::Catch([&] { t.Compute(x.data(), nullptr); });
    EXPECT_EQ(e.message, "Null pointer to output data.");
    EXPECT_NE(e.callStack.find("CQCZT::Compute"), std::string::npos);
  }
}

// Two transforms of one FFT length share one FFT and still give the bits of
// unshared ones; other lengths, or a transform not initialized, do not share.
TEST(ChirpZ, TransformsOfOneFftLengthShareItWithoutChangingTheResult) {
  const int n = 300;
  const auto x = RandomSignal(n, 21u);
  auto make = [&](CQCZT& t, int direction, double t0) {
    t.SetTimeParameters(t0, 1.0 / 1e6, n);
    t.SetFreqParameters(-5e5, 1e6 / n, n);
    t.Initialize(direction);
  };
  CQCZT fwd, inv, fwdAlone, invAlone;
  make(fwd, CQCZT::kForward, 0.0);
  make(inv, CQCZT::kInverse, 3e-7);
  make(fwdAlone, CQCZT::kForward, 0.0);
  make(invAlone, CQCZT::kInverse, 3e-7);
  ASSERT_EQ(fwd.GetFFTLength(), inv.GetFFTLength());
  EXPECT_TRUE(inv.ShareFFTWith(fwd));
  for (int round = 0; round < 2; ++round) {
    fwd.Compute(x.data());
    inv.Compute(fwd.GetOutput());
    fwdAlone.Compute(x.data());
    invAlone.Compute(fwdAlone.GetOutput());
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(fwd.GetOutput()[i], fwdAlone.GetOutput()[i]) << i;
      ASSERT_EQ(inv.GetOutput()[i], invAlone.GetOutput()[i]) << i;
    }
  }
  CQCZT longer, fresh;
  longer.SetTimeParameters(0.0, 1.0 / 1e6, 4 * n);
  longer.SetFreqParameters(0.0, 1e6 / n, n);
  longer.Initialize(CQCZT::kForward);
  EXPECT_NE(longer.GetFFTLength(), fwd.GetFFTLength());
  EXPECT_FALSE(longer.ShareFFTWith(fwd));
  EXPECT_FALSE(fresh.ShareFFTWith(fwd));
  EXPECT_FALSE(fwd.ShareFFTWith(fresh));
}
