// The test support of the FFT tests checked on its own: the bit comparison
// names the first differing element, the reference agrees with a direct DFT
// in long double, and the verifier accepts a correct transform and rejects
// one that breaks each property.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "support/bits.h"
#include "support/fft_reference.h"

namespace {

using C = ComplexFloat32;

float FromBits(uint32_t b) {
  float f;
  std::memcpy(&f, &b, 4);
  return f;
}

TEST(SameBits, NamesTheFirstDifferingElementAndBothPatterns) {
  const std::vector<C> a = {{1.0f, 2.0f}, {0.0f, 3.0f}, {4.0f, 5.0f}};
  std::vector<C> b = a;
  EXPECT_TRUE(lv_test::SameBits(a, b));
  b[1].re = -0.0f;  // equal as a value, not in its bits
  b[2].im = 6.0f;
  const ::testing::AssertionResult r = lv_test::SameBits(a, b);
  ASSERT_FALSE(r);
  const std::string m = r.message();
  EXPECT_NE(m.find("2 of 3 elements differ"), std::string::npos) << m;
  EXPECT_NE(m.find("element 1"), std::string::npos) << m;
  EXPECT_NE(m.find("0x00000000"), std::string::npos) << m;
  EXPECT_NE(m.find("0x80000000"), std::string::npos) << m;
  EXPECT_FALSE(lv_test::SameBits(a, std::vector<C>(2)));
  const uint8_t x[4] = {1, 2, 3, 4}, y[4] = {1, 2, 7, 4};
  EXPECT_NE(std::string(lv_test::SameBytes(x, y, 4).message()).find("element 2"), std::string::npos);
  EXPECT_TRUE(lv_test::SameBytes(x, y, 2));
}

TEST(SameBits, BothNanMatchesAnyTwoNansOnly) {
  const float nanA = FromBits(0x7FC00001u), nanB = FromBits(0xFFC01234u);
  const std::vector<float> a = {nanA, 1.0f}, b = {nanB, 1.0f};
  EXPECT_FALSE(lv_test::SameBits(a, b));
  EXPECT_TRUE(lv_test::SameBitsOrBothNan(a, b));
  EXPECT_FALSE(lv_test::SameBitsOrBothNan(a, std::vector<float>{nanB, -1.0f}));
  const std::vector<C> p = {{nanA, 0.0f}}, q = {{nanB, 0.0f}}, r = {{nanB, -0.0f}};
  EXPECT_TRUE(lv_test::SameBitsOrBothNan(p, q));
  EXPECT_FALSE(lv_test::SameBitsOrBothNan(p, r));
}

// The DFT of x by the definition, in long double.
std::vector<std::complex<long double>> DirectDft(const std::vector<C>& x, int sign) {
  const size_t n = x.size();
  std::vector<std::complex<long double>> X(n);
  for (size_t k = 0; k < n; ++k) {
    for (size_t j = 0; j < n; ++j) {
      const long double a = sign * 2.0L * std::numbers::pi_v<long double> * static_cast<long double>((j * k) % n) /
                            static_cast<long double>(n);
      X[k] += std::complex<long double>(x[j].re, x[j].im) * std::polar(1.0L, a);
    }
  }
  return X;
}

TEST(ReferenceDft, EqualsTheDefinition) {
  for (int order = 0; order <= 8; ++order) {
    const std::vector<C> x = lv_test::RandomSignal(int64_t{1} << order, order);
    for (int sign : {lv_test::kFftForward, lv_test::kFftInverse}) {
      const lv_test::ReferenceDft ref(x.data(), static_cast<int64_t>(x.size()), sign);
      const auto want = DirectDft(x, sign);
      for (size_t k = 0; k < x.size(); ++k) {
        ASSERT_NEAR(ref[static_cast<int64_t>(k)].real(), static_cast<double>(want[k].real()), 1e-12) << order;
        ASSERT_NEAR(ref[static_cast<int64_t>(k)].imag(), static_cast<double>(want[k].imag()), 1e-12) << order;
      }
    }
  }
}

// A correct transform: the definition rounded to float once, times the scale.
lv_test::FftSubject Correct(int order, int sign, double scale) {
  lv_test::FftSubject s{order, sign, scale, nullptr};
  s.run = [order, sign, scale](const C* src, C* dst) {
    const std::vector<C> x(src, src + (int64_t{1} << order));
    const auto X = DirectDft(x, sign);
    for (size_t k = 0; k < X.size(); ++k) {
      dst[k] = {static_cast<float>(X[k].real() * scale), static_cast<float>(X[k].imag() * scale)};
    }
  };
  return s;
}

TEST(VerifyFft, AcceptsACorrectTransform) {
  for (int order = 0; order <= 7; ++order) {
    for (int sign : {lv_test::kFftForward, lv_test::kFftInverse}) {
      EXPECT_TRUE(lv_test::VerifyFft(Correct(order, sign, 1.0), 3));
      EXPECT_TRUE(lv_test::VerifyFft(Correct(order, sign, std::ldexp(1.0, -order)), 4));
    }
  }
}

// Each broken transform fails, naming the property it breaks.
TEST(VerifyFft, RejectsEachBrokenProperty) {
  const int order = 6;
  const int64_t n = 64;
  struct Case {
    const char* property;
    std::function<void(const C*, C*, const lv_test::FftSubject&)> run;
    int sign;
  };
  const Case cases[] = {
      {"accuracy",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         ok.run(s, d);
         d[3].re += 1e-3f;
       },
       lv_test::kFftForward},
      {"accuracy",
       [](const C* s, C* d, const lv_test::FftSubject&) {
         Correct(order, lv_test::kFftInverse, 1.0).run(s, d);  // the wrong direction
       },
       lv_test::kFftForward},
      {"linearity",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         ok.run(s, d);
         d[1].re += 0.01f * s[0].re * s[0].re;  // a term that is not linear in the input
       },
       lv_test::kFftForward},
      {"impulse at point 0",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         ok.run(s, d);
         for (int64_t k = 0; k < n; ++k) d[k].im = std::nextafter(d[k].im, 0.0f);
       },
       lv_test::kFftForward},
      {"time shift",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         std::vector<C> x(s, s + n);
         std::swap(x[0], x[1]);  // not shift-invariant
         ok.run(x.data(), d);
       },
       lv_test::kFftInverse},
      {"changed its source",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         ok.run(s, d);
         if (s != d) const_cast<C*>(s)[5].im = 9.0f;
       },
       lv_test::kFftForward},
      {"in place differs",
       [](const C* s, C* d, const lv_test::FftSubject& ok) {
         const bool inPlace = s == d;
         ok.run(s, d);
         if (inPlace) d[7].re = std::nextafter(d[7].re, 10.0f);
       },
       lv_test::kFftInverse},
  };
  for (const Case& c : cases) {
    const lv_test::FftSubject ok = Correct(order, c.sign, 1.0);
    lv_test::FftSubject broken = ok;
    broken.run = [&c, ok](const C* s, C* d) { c.run(s, d, ok); };
    const ::testing::AssertionResult r = lv_test::VerifyFft(broken, 11);
    ASSERT_FALSE(r) << c.property;
    EXPECT_NE(std::string(r.message()).find(c.property), std::string::npos) << r.message();
  }
}

}  // namespace
