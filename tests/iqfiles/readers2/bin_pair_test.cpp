#include "iqfiles/formats/bin_pair.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;

std::string Ints(const std::vector<int16_t>& v) {
  return std::string(reinterpret_cast<const char*>(v.data()), 2 * v.size());
}

class BinPairTest : public lv_test::TempDirTest {
 protected:
  // A pair x.bin / x.bin.txt with the header text and the 16-bit values.
  void Pair(const std::string& header, const std::vector<int16_t>& values) {
    Write("x.bin.txt", header);
    Write("x.bin", Ints(values));
  }
};

TEST_F(BinPairTest, NamesLeadToThePair) {
  EXPECT_EQ(CQAgilentBinFile::MakeBaseFileName(L"/d/x.bin"), L"/d/x");
  EXPECT_EQ(CQAgilentBinFile::MakeBaseFileName(L"/d/x.bin.txt"), L"/d/x.bin");  // one extension
  for (const std::wstring name : {L"/d/x.bin", L"/d/x.bin.txt", L"/d/x"}) {
    EXPECT_EQ(CQAgilentBinFile::MakeDataFileName(name.c_str()), L"/d/x.bin");
    EXPECT_EQ(CQAgilentBinFile::MakeHeaderFileName(name.c_str()), L"/d/x.bin.txt");
  }
  EXPECT_TRUE(CQAgilentBinFile::IsBinFileName(L"/d/x.bin"));
  EXPECT_TRUE(CQAgilentBinFile::IsBinFileName(L"/d/x.bin.txt"));
  EXPECT_EQ(CQAgilentBinFile::MakeDataFileName(L"/d/X.BIN.TXT"), L"/d/X.bin");
  EXPECT_EQ(CQAgilentBinFile::MakeHeaderFileName(L"/d/X.BIN.TXT"), L"/d/X.bin.txt");
  EXPECT_TRUE(CQAgilentBinFile::IsBinFileName(L"X.BIN.TXT"));
  EXPECT_FALSE(CQAgilentBinFile::IsBinFileName(L"x.iqbin"));
  EXPECT_FALSE(CQAgilentBinFile::IsBinFileName(nullptr));
  // Folders do not count: only the file name decides.
  EXPECT_FALSE(CQAgilentBinFile::IsBinFileName(L"/data.bin/x.wv"));
  EXPECT_EQ(CQAgilentBinFile::MakeBaseFileName(L"/data.bin/x.wv"), L"/data.bin/x.wv");
  const auto e = Catch([] { CQAgilentBinFile::MakeBaseFileName(nullptr); });
  EXPECT_EQ(e.message, "Null pointer to file name.");
  EXPECT_EQ(e.callStack.find("CQAgilentBinFile::MakeBaseFileName"), 0u);
}

TEST_F(BinPairTest, ReadsHeaderAndScaledSamples) {
  Pair("Header\r\nYScale: 0.001\r\nXDelta: 5e-7\r\nInputCenter -2.5e6\r\nFreqValidMax 1e6\r\n"
       "FreqValidMin -0.5e6\r\nXStart 0.25\r\n",
       {1000, -1000, 2000, 3000, 7});  // 10 bytes: the last 2 are not a sample
  CQAgilentBinFile f;
  f.SetFileName(W("x.bin.txt").c_str());
  CQFileInfo info;
  info.markerCount = 3;
  f.GetFileInfo(&info);
  EXPECT_EQ(info.numPoints, 2);
  EXPECT_TRUE(info.complex);
  EXPECT_FALSE(info.floatData);
  EXPECT_EQ(info.sampleRate, 2e6);
  EXPECT_EQ(info.centerFreq, -2.5e6);  // the sign is kept
  EXPECT_EQ(info.bandwidth, 1.5e6);
  EXPECT_EQ(info.scale, 0.001f);
  EXPECT_EQ(info.timeOffset, -0.25);
  EXPECT_EQ(info.markerCount, 3);  // untouched
  f.ReadData();
  const CQCArrayTD* out = f.GetOutput();
  ASSERT_EQ(out->GetNumPoints(), 2);
  EXPECT_EQ(out->GetDataPtr()[0], CQComplex(1.0f, -1.0f));
  EXPECT_FLOAT_EQ(out->GetDataPtr()[1].re, 2.0f);
  EXPECT_FLOAT_EQ(out->GetDataPtr()[1].im, 3.0f);
  EXPECT_EQ(out->GetTimeOrigin(), -0.25);
  EXPECT_EQ(out->GetSampleRate(), 2e6);
  EXPECT_EQ(out->GetCenterFreq(), -2.5e6);
}

TEST_F(BinPairTest, BandwidthRules) {
  struct Case {
    const char* band;
    double expected;
  } cases[] = {
      {"", 1e6},                                         // no band: the rate
      {"FreqValidMax 3e6\n", 1e6},                       // one edge only
      {"FreqValidMax 3e6\nFreqValidMin -3e6\n", 1e6},    // wider than the rate
      {"FreqValidMax 1e5\nFreqValidMin 3e5\n", 2e5},     // magnitude
      {"FreqValidMax 1e5\nFreqValidMin 1e5\n", 1e6},     // zero band: the rate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band);
    Pair(std::string("YScale 1\nXDelta 1e-6\n") + c.band, {1, 2});
    CQAgilentBinFile f;
    f.SetFileName(W("x.bin").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.bandwidth, c.expected);
    EXPECT_EQ(info.centerFreq, 0.0);
    EXPECT_EQ(info.timeOffset, 0.0);
  }
}

TEST_F(BinPairTest, NegativeYScaleKeepsItsSign) {
  Pair("YScale -2\nXDelta 1\n", {3, -4});
  CQAgilentBinFile f;
  f.SetFileName(W("x.bin").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  EXPECT_EQ(info.scale, -2.0f);
  f.ReadData();
  EXPECT_EQ(f.GetOutput()->GetDataPtr()[0], CQComplex(-6.0f, 8.0f));
}

TEST_F(BinPairTest, MissingKeysAndFiles) {
  struct Case {
    const char* header;
    const char* message;
  } cases[] = {
      {"Nothing here\n", "The parameter \"XDelta\" was not found in the Agilent bin file."},
      {"YScale 1\n", "The parameter \"XDelta\" was not found in the Agilent bin file."},
      {"XDelta 1\n", "The parameter \"YScale\" was not found in the Agilent bin file."},
  };
  for (const Case& c : cases) {
    Pair(c.header, {1, 2});
    CQAgilentBinFile f;
    f.SetFileName(W("x.bin").c_str());
    CQFileInfo info;
    const auto e = Catch([&] { f.GetFileInfo(&info); });
    EXPECT_EQ(e.message, c.message);
    EXPECT_EQ(e.callStack.find("CQAgilentBinFile::ReadHeader"), 0u) << e.callStack;
    EXPECT_NE(e.callStack.find("CQAgilentBinFile::GetFileInfo"), std::string::npos);
  }
  CQAgilentBinFile f;
  f.SetFileName(W("none.bin").c_str());
  CQFileInfo info;
  EXPECT_EQ(Catch([&] { f.GetFileInfo(&info); }).message, "Error opening Agilent bin header file.");
  Write("none.bin.txt", "YScale 1\nXDelta 1\n");
  EXPECT_EQ(Catch([&] { f.GetFileInfo(&info); }).message, "Error opening Agilent bin data file.");
  CQAgilentBinFile fresh;
  fresh.SetFileName(W("x.bin").c_str());
  EXPECT_EQ(Catch([&] { fresh.ReadData(); }).message,
            "Programming error: ReadHeader() must be called before calling ReadData() for Agilent bin data files.");
  CQAgilentBinFile unnamed;
  EXPECT_EQ(Catch([&] { unnamed.ReadHeader(); }).message,
            "Programming error: file name must be set before calling ReadHeader().");
  EXPECT_EQ(Catch([&] { unnamed.SetFileName(nullptr); }).message, "Null pointer to file name.");
}

TEST_F(BinPairTest, PartialReadsReturnExactlyTheWindow) {
  Pair("YScale 1\nXDelta 0.5\nXStart 1\n", {1, 10, 2, 20, 3, 30});  // rate 2, origin -1
  CQAgilentBinFile f;
  f.SetFileName(W("x.bin").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  struct Case {
    int64_t start;
    int32_t count;
    std::vector<float> re;  // 0 for a zero sample
  } cases[] = {
      {-2, 4, {0, 0, 1, 2}}, {1, 2, {2, 3}}, {2, 3, {3, 0, 0}}, {-5, 3, {0, 0, 0}}, {7, 2, {0, 0}}, {-1, 5, {0, 1, 2, 3, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    f.partialRead = true;
    f.start = c.start;
    f.count = c.count;
    f.ReadData();
    const CQCArrayTD* out = f.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), c.count);
    for (int k = 0; k < c.count; ++k) {
      EXPECT_EQ(out->GetDataPtr()[k].re, c.re[static_cast<size_t>(k)]);
      EXPECT_EQ(out->GetDataPtr()[k].im, 10.0f * c.re[static_cast<size_t>(k)]);
    }
    EXPECT_DOUBLE_EQ(out->GetTimeOrigin(), static_cast<double>(c.start) / 2.0 - 1.0);
    EXPECT_EQ(out->GetSampleRate(), 2.0);
  }
}

TEST_F(BinPairTest, ReadsFixtureWrittenIndependently) {
  ASSERT_EQ(Python("write-bin"), 0);
  CQAgilentBinFile f;
  f.SetFileName(W("rec.bin").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  ASSERT_EQ(info.numPoints, 50);
  EXPECT_DOUBLE_EQ(info.sampleRate, 2e6);
  EXPECT_EQ(info.centerFreq, -1.5e6);
  f.ReadData();
  for (int k = 0; k < 50; ++k) {
    EXPECT_FLOAT_EQ(f.GetOutput()->GetDataPtr()[k].re, 0.5f * static_cast<float>(2 * k));
    EXPECT_FLOAT_EQ(f.GetOutput()->GetDataPtr()[k].im, 0.5f * static_cast<float>(-4 * k));
  }
}

}  // namespace
