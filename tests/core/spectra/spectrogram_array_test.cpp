#include "core/spectral/spectrogram_array.h"

#include <gtest/gtest.h>

#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;

namespace {

// rows x columns with value (row, column) at every point.
void Fill(CQAltTDSpgmArray& a, int rows, int columns) {
  a.SetSize(rows, columns);
  for (int r = 0; r < rows; ++r) {
    CQComplex* row = a.GetRowPtr(r);
    for (int c = 0; c < columns; ++c) row[c] = CQComplex(static_cast<float>(r), static_cast<float>(c));
  }
}

TEST(SpectrogramArray, SizeIsCheckedAndKeptValuesOnlyForTheSameSize) {
  CQAltTDSpgmArray a;
  EXPECT_EQ(a.GetDataPtr(), nullptr);
  EXPECT_EQ(a.GetStopTime(), 0.00001);
  EXPECT_EQ(a.GetStartFreq(), -1000000.0);
  EXPECT_EQ(Catch([&] { a.SetSize(0, 5); }).message, "Invalid number of time domain points.");
  EXPECT_EQ(Catch([&] { a.SetSize(5, -1); }).message, "Invalid number of frequency domain points.");
  EXPECT_EQ(Catch([&] { a.GetRowPtr(0); }).message, "Null pointer to internal data array.");

  Fill(a, 3, 4);
  a.SetSize(3, 4);
  EXPECT_EQ(a.GetRowPtr(2)[3], CQComplex(2.0f, 3.0f));
  a.SetSize(4, 3);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(a.GetRowPtr(r)[c], CQComplex()) << r << "," << c;
  EXPECT_EQ(a.GetRowPtr(1) - a.GetRowPtr(0), 3);
  const auto bad = Catch([&] { a.GetRowPtr(4); });
  EXPECT_EQ(bad.message, "Invalid row index.");
  EXPECT_NE(bad.callStack.find("CQAltTDSpgmArray::GetRowPtr"), std::string::npos);
  EXPECT_EQ(Catch([&] { a.GetRowPtr(-1); }).message, "Invalid row index.");
}

TEST(SpectrogramArray, AGridBeyondTheAllocatorLimitIsAnAllocationError) {
  CQAltTDSpgmArray a;
  const auto t = Catch([&] { a.SetSize(100000, 100000); });
  EXPECT_EQ(t.code, 1);
  EXPECT_NE(t.callStack.find("CQAltTDSpgmArray::SetSize"), std::string::npos);
  EXPECT_EQ(a.GetNumRows(), 0);
  EXPECT_EQ(a.GetDataPtr(), nullptr);
}

struct ValueCase {
  const char* what;
  double time, freq;
  bool clamp;
  int row, column;         // expected, or -1 for a failure
  const char* message;     // the failure's message
};

TEST(SpectrogramArray, GetValueTakesTheNearestPointAndClampsOrRefusesOutside) {
  // Rows at 1.0, 1.1, ... 1.4 s; columns at -100, -50, 0, 50, 100 Hz.
  const ValueCase cases[] = {
      {"exact", 1.2, 50.0, false, 2, 3, nullptr},
      {"nearest", 1.26, -74.0, false, 3, 1, nullptr},
      {"just past half a step", 1.0 + 0.05 + 1e-12, -75.0 + 1e-9, false, 1, 1, nullptr},
      {"after the stop time, clamped", 9.0, 0.0, true, 4, 2, nullptr},
      {"before the start, clamped", -3.0, 1e9, true, 0, 4, nullptr},
      {"after the stop time", 1.5, 0.0, false, -1, -1, "Desired time out of the range of available values."},
      {"below the start frequency", 1.0, -130.0, false, -1, -1,
       "Desired frequency out of the range of available values."},
  };
  CQAltTDSpgmArray a;
  Fill(a, 5, 5);
  a.SetTimeLimits(1.0, 1.4);
  a.SetFreqLimits(-100.0, 100.0);
  for (const ValueCase& c : cases) {
    double t = -1.0, f = -1.0;
    CQComplex v;
    const auto thrown = Catch([&] { v = a.GetValue(c.time, c.freq, &t, &f, c.clamp); });
    if (c.message != nullptr) {
      EXPECT_EQ(thrown.message, c.message) << c.what;
      EXPECT_NE(thrown.callStack.find("CQAltTDSpgmArray::GetValue"), std::string::npos) << c.what;
      continue;
    }
    ASSERT_FALSE(thrown.thrown) << c.what << ": " << thrown.message;
    EXPECT_EQ(v, CQComplex(static_cast<float>(c.row), static_cast<float>(c.column))) << c.what;
    EXPECT_NEAR(t, 1.0 + 0.1 * c.row, 1e-12) << c.what;
    EXPECT_NEAR(f, -100.0 + 50.0 * c.column, 1e-9) << c.what;
  }
}

TEST(SpectrogramArray, OneRowOrColumnAnswersThatPoint) {
  CQAltTDSpgmArray a;
  Fill(a, 1, 1);
  a.SetTimeLimits(2.0, 2.0);
  a.SetFreqLimits(10.0, 10.0);
  double t = 0.0, f = 0.0;
  EXPECT_EQ(a.GetValue(7.0, -3.0, &t, &f, true), CQComplex(0.0f, 0.0f));
  EXPECT_EQ(t, 2.0);
  EXPECT_EQ(f, 10.0);
  EXPECT_FALSE(Catch([&] { a.GetValue(2.0, 10.0, nullptr, nullptr, false); }).thrown);
  EXPECT_EQ(Catch([&] { a.GetValue(2.5, 10.0, &t, &f, false); }).message,
            "Desired time out of the range of available values.");
  EXPECT_EQ(t, 0.0);
  EXPECT_EQ(Catch([&] { a.GetValue(2.0, 11.0, &t, &f, false); }).message,
            "Desired frequency out of the range of available values.");

  CQAltTDSpgmArray empty;
  EXPECT_EQ(Catch([&] { empty.GetValue(0.0, 0.0, &t, &f, true); }).message, "NULL pointer to output array.");
}

}  // namespace
