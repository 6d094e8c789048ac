// The rate tables: spot rows of every board family, the directional boards,
// and what holds for every index (the index space, spans within their rates,
// rising plain rates, filter files named by their rates), the receive
// factors, and the errors.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/error.h"
#include "xcvr/instr_adi.h"
#include "platform/text.h"
#include "support/errors.h"

namespace {

// Whether the tables know the index (a rate look-up that does not throw).
bool Known(int index) { return !lv_test::Catch([&] { CQInstrADI::GetSampleRate(index); }).thrown; }

// Every index the tables know, searched over a range wider than the index space.
std::vector<int> KnownIndexes() {
  std::vector<int> known;
  for (int index = -100; index <= 2000; ++index) {
    if (Known(index)) known.push_back(index);
  }
  return known;
}

struct Row {
  int index;
  double rate, span;
};

// A few rows of each board family: the plain AD9361 rates, the LTE, GSM,
// WLAN and DOCSIS ones, and the wide-band boards.
const Row kSpotRows[] = {
    {1, 2e6, 1.64e6},        {6, 20e6, 16e6},          {11, 15.36e6, 12.288e6}, {13, 1.625e6, 1.15e6},
    {16, 20e6, 20e6},        {20, 15170823, 12e6},     {22, 50e6, 40e6},        {300, 15.36e6, 9.2e6},
    {401, 1.5e9, 1.2e9},     {402, 1.47456e9, 1.18e9}, {700, 1.96608e9, 800e6}, {800, 368.64e6, 294e6},
};

TEST(RateTables, SpotRows) {
  for (const Row& r : kSpotRows) {
    SCOPED_TRACE(r.index);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetSampleRate(r.index), r.rate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetSpan(r.index), r.span);
  }
}

// The boards whose converters run at different rates in the two directions.
TEST(RateTables, DirectionalVariants) {
  const struct {
    int index;
    double span, rxRate, txRate, txSpan;
  } variants[] = {
      {100, 118e6, 122.88e6, 245.76e6, 200e6},  // AD9371: waveforms at 245.76 MHz
      {200, 200e6, 245.76e6, 245.76e6, 200e6},
      {201, 118e6, 122.88e6, 122.88e6, 118e6},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.index);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetSpan(v.index), v.span);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetRxSampleRate(v.index), v.rxRate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetRxSpan(v.index), v.span);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetTxSampleRate(v.index), v.txRate);
    EXPECT_DOUBLE_EQ(CQInstrADI::GetTxSpan(v.index), v.txSpan);
  }
}

// The index space: 1 to 22 without 17 for the AD9361 family, and the
// hundreds of the other boards.
TEST(RateTables, KnownIndexes) {
  const std::vector<int> known = KnownIndexes();
  EXPECT_EQ(known.size(), 36u);
  for (int index = 1; index <= 22; ++index) {
    EXPECT_EQ(Known(index), index != 17) << index;
  }
  for (int index : known) {
    EXPECT_TRUE((index >= 1 && index <= 22) || index >= 100) << index;
  }
}

// Every known index: a usable span within its rate, receive and transmit as
// the table says except for the directional boards.
TEST(RateTables, EveryIndexHasASpanWithinItsRate) {
  for (int index : KnownIndexes()) {
    SCOPED_TRACE(index);
    const double rate = CQInstrADI::GetSampleRate(index);
    const double span = CQInstrADI::GetSpan(index);
    EXPECT_GT(span, 0.0);
    EXPECT_LE(span, rate);
    EXPECT_LE(CQInstrADI::GetTxSpan(index), CQInstrADI::GetTxSampleRate(index));
    EXPECT_EQ(CQInstrADI::GetRxSpan(index), span);
    if (index != 100 && index != 200 && index != 201) {
      EXPECT_EQ(CQInstrADI::GetRxSampleRate(index), rate);
      EXPECT_EQ(CQInstrADI::GetTxSampleRate(index), rate);
      EXPECT_EQ(CQInstrADI::GetTxSpan(index), span);
    }
  }
}

// The plain AD9361 rates (indices 1 to 10) rise with the index, and so do
// their spans.
TEST(RateTables, PlainRatesRiseWithTheIndex) {
  for (int index = 2; index <= 10; ++index) {
    EXPECT_GT(CQInstrADI::GetSampleRate(index), CQInstrADI::GetSampleRate(index - 1)) << index;
    EXPECT_GT(CQInstrADI::GetSpan(index), CQInstrADI::GetSpan(index - 1)) << index;
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
  const std::map<int, float> factors = {{3, 0.5f},     {4, 0.7071f},  {5, 0.7071f},  {9, 0.7071f},
                                        {10, 0.7071f}, {14, 0.7071f}, {18, 0.7071f}, {11, 2.0f},
                                        {13, 1.4142f}};
  // Every other model, the AD9361 family (2, 12, 16) and the AD9172 (15)
  // among them, keeps its amplitude.
  for (int model = -1; model <= 40; ++model) {
    const auto it = factors.find(model);
    EXPECT_EQ(CQInstrADI::GetRxScaleFactor(model), it != factors.end() ? it->second : 1.0f) << model;
  }
}

// The AD9361 family's filter files: one distinct file per index 1 to 22, each
// named by its rate in Msps ("15p36" for 15.36), 17 by "user".
TEST(RateTables, FilterFileNamesAreDistinctAndCarryTheirRate) {
  std::set<std::wstring> names;
  wchar_t buf[256];
  for (int index = 1; index <= 22; ++index) {
    SCOPED_TRACE(index);
    CQInstrADI::MakeRateFileName(index, L"/d", buf, 256);
    const std::wstring name(buf);
    EXPECT_TRUE(names.insert(name).second) << lv::WideToUtf8(name);
    ASSERT_EQ(name.rfind(L"/d/AD9361_", 0), 0u) << lv::WideToUtf8(name);
    std::wstring rate = L"user";
    if (index != 17) {
      rate = lv::Utf8ToWide(lv::FormatC("%.6f", CQInstrADI::GetSampleRate(index) / 1e6));
      rate.erase(rate.find_last_not_of(L'0') + 1);
      if (rate.back() == L'.') rate.pop_back();
      std::replace(rate.begin(), rate.end(), L'.', L'p');
      rate += L"Msps";
    }
    const std::wstring tail = L"_" + rate + L".ftr";  // after the family or a standard's name
    EXPECT_TRUE(name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
        << lv::WideToUtf8(name);
  }
  EXPECT_EQ(names.size(), 22u);
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
