#include "iqfiles/formats/vsa_text.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;

using VsaTextTest = lv_test::TempDirTest;

const char* kHeader =
    "InputZoom\tTRUE\nInputCenter\t-2.5e6\nXDelta\t1e-6\nXDomain\t2\nFreqValidMax\t1e6\nFreqValidMin\t-1e6\n"
    "XStart\t-0.5\nY\n";

template <typename Reader>
void Describe(Reader& r, CQFileInfo& info) {
  r.GetFileInfo(r.GetFileNameUtf8(), &info);
}

TEST_F(VsaTextTest, BothReadersReadHeaderAndSamples) {
  Write("a.txt", std::string(kHeader) + "1.5 -2\n3\t4\n");
  {
    CQAgilentVSATxtFile r;
    r.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    Describe(r, info);
    EXPECT_EQ(info.numPoints, 2);
    EXPECT_EQ(info.sampleRate, 1e6);
    EXPECT_EQ(info.bandwidth, 1e6);  // the info carries the rate
    EXPECT_EQ(info.centerFreq, -2.5e6);
    EXPECT_EQ(info.timeOffset, 0.0);
    EXPECT_TRUE(info.floatData);
    EXPECT_EQ(r.GetTimeOrigin(), 0.5);
    EXPECT_EQ(r.GetBandwidth(), 1e6);
    r.ReadData();
    const CQCArrayTD* out = r.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), 2);
    EXPECT_EQ(out->GetDataPtr()[0], CQComplex(1.5f, -2.0f));
    EXPECT_EQ(out->GetDataPtr()[1], CQComplex(3.0f, 4.0f));
    EXPECT_EQ(out->GetTimeOrigin(), 0.5);
    EXPECT_EQ(out->GetCenterFreq(), -2.5e6);
    EXPECT_EQ(out->GetBandwidth(), 1e6);
  }
  {
    CQADIVSATxtFile r;
    r.SetRateMultiplier(1e6);
    r.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    Describe(r, info);
    EXPECT_EQ(info.sampleRate, 1e12);
    EXPECT_EQ(r.GetBandwidth(), 2e6);  // the band is narrower than the rate
  }
}

TEST_F(VsaTextTest, CommasAndIntegerScaling) {
  struct Case {
    const char* data;
    int agilentCount;
    std::vector<CQComplex> adi;
  } cases[] = {
      {"1.0,2.0\n", 0, {{1, 2}}},
      {"32767,-16384\n0,10\n", 0, {{1.0f, -16384 * 3.0518509e-05f}, {0, 10 * 3.0518509e-05f}}},
      {"10 -10\n0.5 1\n", 2, {{10, -10}, {0.5f, 1}}},  // 10 or less stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    Write("a.txt", std::string("XDelta 1\r\n") + c.data);
    CQAgilentVSATxtFile agilent;
    agilent.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    Describe(agilent, info);
    EXPECT_EQ(info.numPoints, c.agilentCount);
    CQADIVSATxtFile adi;
    adi.SetFileName(W("a.txt").c_str());
    Describe(adi, info);
    ASSERT_EQ(info.numPoints, static_cast<int64_t>(c.adi.size()));
    adi.ReadData();
    for (size_t k = 0; k < c.adi.size(); ++k) {
      EXPECT_FLOAT_EQ(adi.GetOutput()->GetDataPtr()[k].re, c.adi[k].re);
      EXPECT_FLOAT_EQ(adi.GetOutput()->GetDataPtr()[k].im, c.adi[k].im);
    }
  }
}

TEST_F(VsaTextTest, HeaderCases) {
  struct Case {
    const char* text;
    double rate, origin, bandwidth, centre;
    int64_t count;
  } cases[] = {
      {"XDelta 1e-6", 1e6, 0, 1e6, 0, 0},
      {"XDelta 1e-6\n", 1e6, 0, 1e6, 0, 0},
      {"XDelta 1e-6\nXStart 0.5\n", 1e6, -0.5, 1e6, 0, 0},
      {"XDelta 2.5e-7\nFreqValidMax 1e6\nFreqValidMin -1e6\n1 2\n", 4e6, 0, 2e6, 0, 1},
      {"XDelta 0\n1 2\n", 0, 0, 0, 0, 1},
      // Keys after the first data line are not header keys.
      {"XDelta 1\n1 2\nInputCenter 5\n3 4\n", 1, 0, 1, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Write("a.txt", c.text);
    CQAgilentVSATxtFile r;
    r.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    Describe(r, info);
    EXPECT_EQ(info.numPoints, c.count);
    EXPECT_EQ(r.GetSampleRate(), c.rate);
    EXPECT_EQ(r.GetTimeOrigin(), c.origin);
    EXPECT_EQ(r.GetBandwidth(), c.bandwidth);
    EXPECT_EQ(r.GetCenterFreq(), c.centre);
  }
}

TEST_F(VsaTextTest, Failures) {
  Write("a.txt", "XDelta 1e-6\n");
  CQAgilentVSATxtFile agilent;
  agilent.SetFileName(W("a.txt").c_str());
  EXPECT_EQ(Catch([&] { agilent.ReadData(); }).message,
            "Programming error: ReadHeader() must be called before calling ReadData() for Agilent txt files.");
  CQFileInfo info;
  Describe(agilent, info);
  EXPECT_EQ(info.numPoints, 0);
  auto e = Catch([&] { agilent.ReadData(); });
  EXPECT_EQ(e.message, "No valid data found in Agilent txt file.");
  EXPECT_EQ(e.callStack.find("CQAgilentVSATxtFile::ReadData"), 0u);
  CQADIVSATxtFile adi;
  adi.SetFileName(W("a.txt").c_str());
  Describe(adi, info);
  EXPECT_EQ(Catch([&] { adi.ReadData(); }).message, "No valid data found in ADI VSA txt file.");

  Write("b.txt", "XStart 1\n1 2\n");
  adi.SetFileName(W("b.txt").c_str());
  e = Catch([&] { Describe(adi, info); });
  EXPECT_EQ(e.message, "The parameter \"XDelta\" was not found in the ADI VSA txt file.");
  EXPECT_EQ(e.callStack.find("CQADIVSATxtFile::ReadHeader"), 0u);
  EXPECT_NE(e.callStack.find("CQADIVSATxtFile::GetFileInfo"), std::string::npos);
  agilent.SetFileName(W("b.txt").c_str());
  EXPECT_EQ(Catch([&] { Describe(agilent, info); }).message,
            "The parameter \"XDelta\" was not found in the Agilent txt file.");

  agilent.SetFileName(W("none.txt").c_str());
  EXPECT_EQ(Catch([&] { Describe(agilent, info); }).message, "Error opening Agilent txt file.");
  adi.SetFileName(W("none.txt").c_str());
  EXPECT_EQ(Catch([&] { Describe(adi, info); }).message, "Error opening ADI txt file.");
  EXPECT_EQ(Catch([&] { adi.GetFileInfo(nullptr, &info); }).message, "Null pointer to file name.");
  EXPECT_EQ(Catch([&] { adi.GetFileInfo("x", nullptr); }).message, "Null pointer to file info.");
  EXPECT_EQ(Catch([&] { adi.SetFileName(nullptr); }).message, "Null pointer to file name.");

  // A zero rate passes the header and fails the read.
  Write("c.txt", "XDelta 0\n1 2\n");
  adi.SetFileName(W("c.txt").c_str());
  Describe(adi, info);
  EXPECT_EQ(Catch([&] { adi.ReadData(); }).message, "Invalid sample rate.");

  CQADIVSATxtFile unnamed;
  CQCArrayTD a;
  EXPECT_EQ(Catch([&] { unnamed.WriteToFile(&a); }).message,
            "Programming error: file name must be set before calling WriteToFile().");
}

TEST_F(VsaTextTest, WriterLayoutAndRoundTrip) {
  std::vector<CQComplex> v = {{0.125f, -1.0f}, {1.234567e-3f, 7.5f}, {-3.25e4f, 0.0f}};
  CQCArrayTD a;
  a.Set(v.data(), 3, 3.0e6 / 7.0, 0.0);
  a.SetCenterFreq(2.45e9);
  CQADIVSATxtFile w;
  w.SetFileName(W("w.txt").c_str());
  w.WriteToFile(&a);
  const std::string text = Slurp("w.txt");
  const std::string expected =
      "InputZoom\tTRUE\nInputCenter\t2450000000.0\nXDelta\t2.333333333E-06\nXDomain\t2\nXUnit\tSec\n"
      "FreqValidMax\t2450214285.7\nFreqValidMin\t2449785714.3\nXStart\t0.0\nY\n"
      "1.250000e-01,-1.000000e+00\n1.234567e-03,7.500000e+00\n-3.250000e+04,0.000000e+00\n";
  EXPECT_EQ(text, expected);

  a.SetBandwidth(1e5);
  a.SetTimeOrigin(0.25);
  w.WriteToFile(&a);  // replaces the file
  CQADIVSATxtFile r;
  r.SetFileName(W("w.txt").c_str());
  CQFileInfo info;
  r.GetFileInfo(r.GetFileNameUtf8(), &info);
  EXPECT_EQ(info.numPoints, 3);
  EXPECT_NEAR(info.sampleRate / (3.0e6 / 7.0), 1.0, 1e-9);
  EXPECT_NEAR(info.centerFreq, 2.45e9, 0.1);
  EXPECT_EQ(r.GetTimeOrigin(), 0.25);
  EXPECT_NEAR(r.GetBandwidth(), 1e5, 0.2);
  r.ReadData();
  // The peak exceeds 10: the reader scales the integers-like data down.
  EXPECT_NEAR(r.GetOutput()->GetDataPtr()[2].re, -3.25e4f * 3.0518509e-05f, 1e-4);
}

TEST_F(VsaTextTest, IndependentFixturesBothWays) {
  ASSERT_EQ(Python("write-vsa"), 0);
  for (const char* name : {"agilent.txt", "adi.txt"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<CQVSATxtReader> r;
    if (std::string(name) == "adi.txt") {
      r = std::make_unique<CQADIVSATxtFile>();
    } else {
      r = std::make_unique<CQAgilentVSATxtFile>();
    }
    r->SetFileName(W(name).c_str());
    CQFileInfo info;
    r->GetFileInfo(r->GetFileNameUtf8(), &info);
    ASSERT_EQ(info.numPoints, 50);
    EXPECT_NEAR(info.sampleRate, 2e6, 1e-3);
    EXPECT_EQ(info.centerFreq, -1.5e6);
    EXPECT_EQ(r->GetTimeOrigin(), 0.125);
    EXPECT_NEAR(r->GetBandwidth(), 1.6e6, 1e-3);
    r->ReadData();
    for (int k = 0; k < 50; ++k) {
      EXPECT_NEAR(r->GetOutput()->GetDataPtr()[k].re, 0.01 * k, 2e-5);
      EXPECT_NEAR(r->GetOutput()->GetDataPtr()[k].im, -0.02 * k, 2e-5);
    }
  }
  std::vector<CQComplex> v(50);
  for (int k = 0; k < 50; ++k) {
    v[static_cast<size_t>(k)] = CQComplex(static_cast<float>(0.01 * k), static_cast<float>(-0.02 * k));
  }
  CQCArrayTD a;
  a.Set(v.data(), 50, 2e6, 0.125);
  a.SetCenterFreq(-1.5e6);
  a.SetBandwidth(1.6e6);
  CQADIVSATxtFile w;
  w.SetFileName(W("written.txt").c_str());
  w.WriteToFile(&a);
  EXPECT_EQ(Python("read-vsa"), 0);
}

}  // namespace
