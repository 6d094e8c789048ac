#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/array_math.h"
#include "support/errors.h"

namespace {

using lv_test::Catch;

TEST(ArrayMath, AllocationFailuresAreCode1WithTheMembersLine) {
  const struct {
    const char* line;
    std::function<void()> call;
  } rows[] = {
      {"CQArrayMath::AllocFloat\n", [] { CQArrayMath::AllocFloat(0); }},
      {"CQArrayMath::AllocFloat\n", [] { CQArrayMath::AllocFloat(536870894); }},  // beyond the byte limit
      {"CQArrayMath::AllocComplex\n", [] { CQArrayMath::AllocComplex(-1); }},
      {"CQArrayMath::AllocDouble\n", [] { CQArrayMath::AllocDouble(0); }},
      {"CQArrayMath::AllocShortInt\n", [] { CQArrayMath::AllocShortInt(0); }},
      {"CQArrayMath::AllocIComplex\n", [] { CQArrayMath::AllocIComplex(0x40000000); }},
  };
  for (const auto& row : rows) {
    const auto err = Catch(row.call);
    ASSERT_TRUE(err.thrown) << row.line;
    EXPECT_EQ(err.code, 1);
    EXPECT_EQ(err.message, "Error allocating memory.");
    EXPECT_EQ(err.callStack, row.line);
  }
  float* p = CQArrayMath::AllocFloat(17);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 64, 0u);
  CQArrayMath::Free(p);
  CQArrayMath::Free(nullptr);
}

TEST(ArrayMath, ArgumentChecksInOrder) {
  float a[4] = {1, 2, 3, 4};
  // Pointers first (input, output, work), then the count.
  auto e = Catch([&] { CQArrayMath::ArrayAdd(nullptr, a, 0); });
  EXPECT_EQ(e.message, "Null pointer to input data.");
  EXPECT_EQ(e.callStack, "CQArrayMath::ArrayAdd\n");
  e = Catch([&] { CQArrayMath::ArrayAdd(a, a, 0); });
  EXPECT_EQ(e.message, "Invalid number of input points.");
  e = Catch([&] { CQArrayMath::Log10(a, nullptr, 4, a, 0.0f); });
  EXPECT_EQ(e.message, "Null pointer to output data.");
  e = Catch([&] { CQArrayMath::Log10(a, a, 4, nullptr, 0.0f); });
  EXPECT_EQ(e.message, "Null pointer to working data.");
  CQComplex c[2];
  e = Catch([&] { CQArrayMath::ArrayScalarMult(c, 2.0f, static_cast<CQComplex*>(nullptr), 2); });
  EXPECT_EQ(e.message, "Null pointer to output data.");
  // Copies and fills: a count of 0 or less does nothing; a null pointer is still an error.
  EXPECT_FALSE(Catch([&] { CQArrayMath::CopyArray(a, a + 2, 0); }).thrown);
  EXPECT_FALSE(Catch([&] { CQArrayMath::ZeroFill(a, -3); }).thrown);
  EXPECT_EQ(a[0], 1.0f);
  e = Catch([&] { CQArrayMath::CopyArray(static_cast<const float*>(nullptr), a, 0); });
  EXPECT_EQ(e.message, "Null pointer to input data.");
  EXPECT_EQ(e.callStack, "CQArrayMath::CopyArray\n");
}

TEST(ArrayMath, CopiesAndConversions) {
  const float values[] = {2.5f, 3.5f, 40000.0f, -40000.0f, -2.5f, 0.49999997f};
  int16_t ints[6];
  CQArrayMath::CopyArray(values, ints, 6);
  EXPECT_EQ(std::vector<int16_t>(ints, ints + 6), (std::vector<int16_t>{2, 4, 32767, -32768, -2, 0}));

  const double big[] = {3e9, -3e9, 2.5, 1.5};
  int32_t i32[4];
  CQArrayMath::CopyArray(big, i32, 4);
  EXPECT_EQ(std::vector<int32_t>(i32, i32 + 4),
            (std::vector<int32_t>{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), 2, 2}));

  CQComplex z[3];
  CQArrayMath::CopyArray(values, z, 3);
  EXPECT_EQ(z[1], CQComplex(3.5f, 0.0f));
  float re[3], im[3];
  z[2] = CQComplex(7, -8);
  CQArrayMath::CopyArray(z, re, im, 3);
  EXPECT_EQ(re[2], 7.0f);
  EXPECT_EQ(im[2], -8.0f);
  CQComplex joined[3];
  CQArrayMath::CopyArray(re, im, joined, 3);
  EXPECT_EQ(joined[2], CQComplex(7, -8));

  CQIComplex iq[3] = {{1, 2}, {3, 4}, {5, 6}}, iq2[3];
  CQArrayMath::CopyArray(iq, iq2, 3);
  EXPECT_EQ(iq2[2], (CQIComplex{5, 6}));
  CQArrayMath::ZeroFill(iq2, 2);
  EXPECT_EQ(iq2[1], (CQIComplex{0, 0}));
  EXPECT_EQ(iq2[2], (CQIComplex{5, 6}));

  CQComplex r[5];
  for (auto& v : r) v = CQComplex(1, 1);
  CQArrayMath::ZeroFill(r, 3, 2);  // last < first: nothing
  EXPECT_EQ(r[3], CQComplex(1, 1));
  CQArrayMath::ZeroFill(r, 3, 3);
  EXPECT_EQ(r[3], CQComplex(0, 0));
  EXPECT_EQ(r[4], CQComplex(1, 1));
}

TEST(ArrayMath, ArithmeticInPlaceAndOutOfPlace) {
  float a[5] = {1, 2, 3, 4, 5};
  CQArrayMath::ArrayAdd(a, a, 5);  // a equal to b doubles every element
  EXPECT_EQ(a[4], 10.0f);
  float b[5] = {1, 1, 2, 2, 3}, d[5];
  CQArrayMath::ArrayMult(a, b, d, 5);
  EXPECT_EQ(d[4], 30.0f);
  CQComplex z[2] = {{1, 2}, {-3, 0.5f}};
  CQArrayMath::ArrayScalarMult(z, 2.0f, 2);
  EXPECT_EQ(z[0], CQComplex(2, 4));
  CQArrayMath::ArrayScalarMult(z, CQComplex(0, 1), 2);  // rotates by 90 degrees
  EXPECT_EQ(z[0], CQComplex(-4, 2));
  CQComplex w[2] = {{1, 1}, {2, 0}};
  CQArrayMath::ArrayMult(z, w, 2);
  EXPECT_EQ(z[0], CQComplex(-6, -2));
  double dd[3] = {1, 2, 3};
  CQArrayMath::ArrayScalarAdd(dd, 0.5, 3);
  CQArrayMath::ArrayScalarMult(dd, 2.0, 3);
  EXPECT_EQ(dd[2], 7.0);
}

TEST(ArrayMath, ReductionsAndExtremes) {
  std::vector<float> tenth(10000000, 0.1f);
  EXPECT_FLOAT_EQ(CQArrayMath::Sum(tenth.data(), static_cast<int>(tenth.size())), 1e6f);
  const float v[] = {1, 5, 5, 2};
  int index = -1;
  EXPECT_EQ(CQArrayMath::FindMax(v, 4, &index), 5.0f);
  EXPECT_EQ(index, 1);
  const float w[] = {3, 1, 1};
  EXPECT_EQ(CQArrayMath::FindMin(w, 3, &index), 1.0f);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(CQArrayMath::FindMax(v, 4, nullptr), 5.0f);
  const CQComplex z[] = {{3, 4}, {-1, 0}};
  EXPECT_EQ(CQArrayMath::FindMaxMag(z, 2), 5.0f);
  const float neg[] = {-7, 2};
  EXPECT_EQ(CQArrayMath::FindMaxAbs(neg, 2), 7.0f);
  const CQComplex s = CQArrayMath::Sum(z, 2);
  EXPECT_EQ(s, CQComplex(2, 4));
}

TEST(ArrayMath, DecibelsAndPhase) {
  const CQComplex unit[] = {{1, 0}, {0, 0}};
  float db[2];
  CQArrayMath::LogMagdB20(unit, db, 2, -200.0f);
  EXPECT_NEAR(db[0], 0.0f, 1e-5f);
  EXPECT_NEAR(db[1], -192.756f, 1e-3f);  // floor + 20 log10(2.302585)
  CQArrayMath::LogMagdBm(unit, db, 1, -200.0f);
  EXPECT_NEAR(db[0], 10.0f, 1e-5f);

  const float watts[] = {0.001f, 1.0f, 0.0f};
  float dbm[3];
  CQArrayMath::WattsTodBm(watts, dbm, 3);
  EXPECT_NEAR(dbm[0], 0.0f, 1e-4f);
  EXPECT_NEAR(dbm[1], 30.0f, 1e-5f);
  EXPECT_TRUE(std::isinf(dbm[2]) && dbm[2] < 0);
  const float negative[] = {-1.0f};
  const auto e = lv_test::Catch([&] { CQArrayMath::WattsTodBm(negative, dbm, 1); });
  EXPECT_EQ(e.code, 2);
  EXPECT_EQ(e.callStack, "CQArrayMath::WattsTodBm\nCQArrayMath::WattsTodBm\n");

  // Wrapped phases 170, -170, -150 unwrap to 170, 190, 210.
  CQComplex z[3];
  for (int i = 0; i < 3; ++i) {
    const double deg[] = {170, -170, -150};
    z[i].Set(std::cos(deg[i] * M_PI / 180), std::sin(deg[i] * M_PI / 180));
  }
  float ph[3];
  CQArrayMath::UnwrapPhaseDeg(z, ph, 3);
  EXPECT_NEAR(ph[0], 170.0f, 1e-3f);
  EXPECT_NEAR(ph[1], 190.0f, 1e-3f);
  EXPECT_NEAR(ph[2], 210.0f, 1e-3f);

  // A tone advancing 36 degrees per sample at 1 MHz is 100 kHz everywhere, the last element included.
  std::vector<CQComplex> tone(50);
  for (int i = 0; i < 50; ++i) tone[i].Set(std::cos(i * M_PI / 5), std::sin(i * M_PI / 5));
  std::vector<float> f(50);
  CQArrayMath::DerivUnwrapPhaseDeg(tone.data(), f.data(), 50, 1e6);
  for (float v : f) EXPECT_NEAR(v, 1e5f, 1.0f);
  float one;
  CQArrayMath::DerivUnwrapPhaseDeg(tone.data(), &one, 1, 1e6);
  EXPECT_EQ(one, 0.0f);
}

// A peak so small that its float reciprocal is infinite (below about 3e-39)
// still normalises to one; it used to turn every sample into +-1 or NaN.
TEST(ArrayMath, NormalisationOfDenormalPeaks) {
  const float peaks[] = {1e-40f, 1.4e-45f, 2.9e-39f, 1.2e-38f};
  for (float peak : peaks) {
    CQComplex z[] = {{peak, -peak / 2}, {0, peak / 4}};
    CQArrayMath::NormalizeToOne(z, 2);
    EXPECT_NEAR(z[0].re, 1.0f, 1e-6f) << peak;
    // Denormals carry few digits: the half of the smallest one is zero.
    EXPECT_TRUE(std::isfinite(z[0].im) && std::fabs(z[0].im) <= 0.5f) << peak;
    EXPECT_EQ(z[1].re, 0.0f) << peak;
    float f[] = {-peak, peak / 2, 0};
    CQArrayMath::NormalizeToOne(f, 3);
    EXPECT_NEAR(f[0], -1.0f, 1e-6f) << peak;
    EXPECT_TRUE(std::isfinite(f[1]) && std::fabs(f[1]) <= 0.5f) << peak;
    EXPECT_EQ(f[2], 0.0f) << peak;
  }
}

TEST(ArrayMath, NormalisationAndLimits) {
  CQComplex z[] = {{0.5f, -2.0f}, {1, 1}};
  CQArrayMath::NormalizeToOne(z, 2);
  EXPECT_EQ(z[0], CQComplex(0.25f, -1.0f));
  EXPECT_EQ(z[1], CQComplex(0.5f, 0.5f));
  CQComplex zeros[3];
  CQArrayMath::NormalizeToOne(zeros, 3);  // an all-zero waveform stays zero
  for (const auto& v : zeros) EXPECT_EQ(v, CQComplex(0, 0));
  float fz[2] = {0, 0};
  CQArrayMath::NormalizeToOne(fz, 2);
  EXPECT_EQ(fz[1], 0.0f);
  float f[] = {-4, 2};
  CQArrayMath::NormalizeToOne(f, 2);
  EXPECT_EQ(f[0], -1.0f);

  const int32_t rows[] = {-3, 2, 9};
  int32_t out[3];
  CQArrayMath::LimitMinValue(rows, 5, out, 3);  // clips at 0, not at the level
  EXPECT_EQ(std::vector<int32_t>(out, out + 3), (std::vector<int32_t>{0, 2, 9}));
  CQArrayMath::LimitMaxValue(rows, 5, out, 3);
  EXPECT_EQ(std::vector<int32_t>(out, out + 3), (std::vector<int32_t>{-3, 2, 5}));
  float g[] = {-3, 2, 9};
  CQArrayMath::LimitMaxValue(g, 4.0f, 3);
  CQArrayMath::LimitMinValue(g, -1.0f, 3);
  EXPECT_EQ(std::vector<float>(g, g + 3), (std::vector<float>{-1, 2, 4}));
  double h[] = {-3, 2, 9};
  CQArrayMath::LimitMaxValue(h, 4.0, 3);
  CQArrayMath::LimitMinValue(h, -1.0, 3);
  EXPECT_EQ(std::vector<double>(h, h + 3), (std::vector<double>{-1, 2, 4}));
}

}  // namespace
