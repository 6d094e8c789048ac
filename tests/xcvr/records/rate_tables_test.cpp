#include <string>

#include <gtest/gtest.h>

#include "core/error.h"
#include "xcvr/instr_adi.h"
#include "support/errors.h"

namespace {

struct Row {
  int index;
  double rate, span, rxRate, txRate, txSpan;
};

// Every row of the table, with the directional variants where they differ.
const Row kRows[] = {
    {1, 2e6, 1.64e6, 2e6, 2e6, 1.64e6},
    {2, 5e6, 4e6, 5e6, 5e6, 4e6},
    {3, 8e6, 6.4e6, 8e6, 8e6, 6.4e6},
    {4, 10e6, 8e6, 10e6, 10e6, 8e6},
    {5, 12e6, 9.6e6, 12e6, 12e6, 9.6e6},
    {6, 20e6, 16e6, 20e6, 20e6, 16e6},
    {7, 24e6, 19.2e6, 24e6, 24e6, 19.2e6},
    {8, 25e6, 20e6, 25e6, 25e6, 20e6},
    {9, 30e6, 24e6, 30e6, 30e6, 24e6},
    {10, 40e6, 32e6, 40e6, 40e6, 32e6},
    {11, 15.36e6, 12.288e6, 15.36e6, 15.36e6, 12.288e6},
    {12, 30.72e6, 24.576e6, 30.72e6, 30.72e6, 24.576e6},
    {13, 1.625e6, 1.15e6, 1.625e6, 1.625e6, 1.15e6},
    {14, 3.25e6, 2.3e6, 3.25e6, 3.25e6, 2.3e6},
    {15, 6.5e6, 4.7e6, 6.5e6, 6.5e6, 4.7e6},
    {16, 20e6, 20e6, 20e6, 20e6, 20e6},
    {18, 14e6, 11.2e6, 14e6, 14e6, 11.2e6},
    {19, 28e6, 21e6, 28e6, 28e6, 21e6},
    {20, 15170823, 12e6, 15170823, 15170823, 12e6},
    {21, 16081611, 12.8e6, 16081611, 16081611, 12.8e6},
    {22, 50e6, 40e6, 50e6, 50e6, 40e6},
    {100, 122.88e6, 118e6, 122.88e6, 245.76e6, 200e6},
    {200, 245.76e6, 200e6, 245.76e6, 245.76e6, 200e6},
    {201, 122.88e6, 118e6, 122.88e6, 122.88e6, 118e6},
    {300, 15.36e6, 9.2e6, 15.36e6, 15.36e6, 9.2e6},
    {400, 250e6, 200e6, 250e6, 250e6, 200e6},
    {401, 1.5e9, 1.2e9, 1.5e9, 1.5e9, 1.2e9},
    {402, 1.47456e9, 1.18e9, 1.47456e9, 1.47456e9, 1.18e9},
    {405, 245.76e6, 200e6, 245.76e6, 245.76e6, 200e6},
    {406, 307.2e6, 250e6, 307.2e6, 307.2e6, 250e6},
    {500, 500e6, 200e6, 500e6, 500e6, 200e6},
    {501, 1e9, 400e6, 1e9, 1e9, 400e6},
    {600, 250e6, 100e6, 250e6, 250e6, 100e6},
    {700, 1.96608e9, 800e6, 1.96608e9, 1.96608e9, 800e6},
    {800, 368.64e6, 294e6, 368.64e6, 368.64e6, 294e6},
    {801, 375e6, 300e6, 375e6, 375e6, 300e6},
};

TEST(RateTables, EveryRowAndDirectionalVariant) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(r.index);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetSampleRate(r.index), r.rate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetSpan(r.index), r.span);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetRxSampleRate(r.index), r.rxRate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetRxSpan(r.index), r.span);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetTxSampleRate(r.index), r.txRate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetTxSpan(r.index), r.txSpan);
  }
}

TEST(RateTables, UndefinedIndexesFailWithTheLookupName) {
  for (int index : {0, 17, 23, 99, 403, 404, 900, -1, 802}) {
    SCOPED_TRACE(index);
    const lv_test::CaughtError rate = lv_test::Catch([&] { CQInstrADI::GetSampleRate(index); });
    EXPECT_EQ(rate.message, "Invalid filter / sample rate configuration.");
    EXPECT_EQ(rate.callStack, "CQInstrADI::GetSampleRate\n");
    const lv_test::CaughtError span = lv_test::Catch([&] { CQInstrADI::GetSpan(index); });
    EXPECT_EQ(span.callStack, "CQInstrADI::GetSpan\n");
    EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::GetTxSampleRate(index); }).callStack, "CQInstrADI::GetSampleRate\n");
    EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::GetRxSpan(index); }).callStack, "CQInstrADI::GetSpan\n");
  }
}

TEST(RateTables, ReceiveScaleFactors) {
  const std::pair<int, float> table[] = {{3, 0.5f},     {4, 0.7071f}, {5, 0.7071f},  {9, 0.7071f}, {10, 0.7071f},
                                         {14, 0.7071f}, {18, 0.7071f}, {11, 2.0f},   {13, 1.4142f}, {2, 1.0f},
                                         {12, 1.0f},    {16, 1.0f},   {15, 1.0f},    {0, 1.0f}};
  for (const auto& [model, factor] : table) {
    EXPECT_EQ(CQInstrADI::GetRxScaleFactor(model), factor) << model;
  }
}

TEST(RateTables, FilterFileNames) {
  const std::pair<int, const wchar_t*> names[] = {
      {1, L"AD9361_2Msps.ftr"},          {6, L"AD9361_20Msps.ftr"},
      {11, L"AD9361_LTE10_15p36Msps.ftr"}, {12, L"AD9361_LTE20_30p72Msps.ftr"},
      {13, L"AD9361_GSM_1p625Msps.ftr"}, {16, L"AD9361_WLAN_20Msps.ftr"},
      {17, L"AD9361_user.ftr"},          {20, L"AD9361_DOCSIS_15p170823Msps.ftr"},
      {22, L"AD9361_50Msps.ftr"},
  };
  wchar_t buf[2048];
  for (const auto& [index, name] : names) {
    CQInstrADI::MakeRateFileName(index, L"/home/u/work/Baseband", buf, 2048);
    EXPECT_EQ(std::wstring(buf), std::wstring(L"/home/u/work/Baseband/") + name);
  }
  const lv_test::CaughtError err = lv_test::Catch([&] { CQInstrADI::MakeRateFileName(0, L"/d", buf, 2048); });
  EXPECT_EQ(err.message, "Unknown rate value.");
  EXPECT_EQ(err.callStack, "CQInstrADI::MakeRateFileName\n");
  EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::MakeRateFileName(100, L"/d", buf, 2048); }).message,
            "Unknown rate value.");
  EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::MakeRateFileName(6, nullptr, buf, 2048); }).message,
            "Null pointer to path.");
  EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::MakeRateFileName(6, L"/d", nullptr, 2048); }).message,
            "Null pointer to file name.");
  EXPECT_EQ(lv_test::Catch([&] { CQInstrADI::MakeRateFileName(6, L"/d", buf, 0); }).message,
            "Null pointer to file name.");
  // A small buffer cuts the name but stays terminated.
  wchar_t small[8];
  CQInstrADI::MakeRateFileName(6, L"/a/long/directory", small, 8);
  EXPECT_LT(std::wcslen(small), 8u);
}

}  // namespace
