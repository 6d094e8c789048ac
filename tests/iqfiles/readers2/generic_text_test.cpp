#include "iqfiles/formats/generic_text.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;

class GenericTextTest : public lv_test::TempDirTest {
 protected:
  std::vector<CQComplex> Samples(const CQCArrayTD& a) {
    return std::vector<CQComplex>(a.GetDataPtr(), a.GetDataPtr() + a.GetNumPoints());
  }
};

TEST_F(GenericTextTest, FiveLayouts) {
  struct Case {
    int layout;
    const char* text;
    std::vector<CQComplex> samples;
    double rate;  // 0: the reader's own rate stays 0
    double firstTime;
    bool complex;
  } cases[] = {
      {1, "# one value\n1.5\n-2\n3e-1 trailing\n", {{1.5f, 0}, {-2, 0}, {0.3f, 0}}, 0, 0, false},
      {2, "t v\r\n1.0 4\r\n1.5 5\r\n2.0 6\r\n", {{4, 0}, {5, 0}, {6, 0}}, 2.0, 1.0, false},
      {3, "I,Q\n1,2\n3 , 4\n5\n", {{1, 2}, {3, 4}}, 0, 0, true},
      {4, "32767\n0\n0\n-32767\n", {{1, 0}, {0, -1}}, 0, 0, true},
      {4, "32767\n0\n0\n-32767\n16383.5\n", {{1, 0}, {0, -1}}, 0, 0, true},  // odd line count
      {5, "0.0 1 0\n0.5 0 1\n1.0 -1 0\n", {{1, 0}, {0, 1}, {-1, 0}}, 2.0, 0.0, true},
      {5, "Time,I,Q\r\n1e-6,0.5,-0.5\r\n3e-6,0.25,0.75\r\n", {{0.5f, -0.5f}, {0.25f, 0.75f}}, 5e5, 1e-6, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Write("g.txt", c.text);
    CQGenericTxtIQInputFile f;
    f.layout = c.layout;
    f.SetFileName(W("g.txt").c_str());
    CQFileInfo info;
    info.markerCount = 5;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.numPoints, static_cast<int64_t>(c.samples.size()));
    EXPECT_DOUBLE_EQ(info.sampleRate, c.rate);
    EXPECT_DOUBLE_EQ(info.bandwidth, c.rate);
    EXPECT_EQ(info.centerFreq, 0.0);
    EXPECT_EQ(info.complex, c.complex);
    EXPECT_TRUE(info.floatData);
    EXPECT_EQ(info.firstSampleTime.second, c.firstTime);
    EXPECT_EQ(info.timeReference.second, c.firstTime);
    EXPECT_EQ(info.markerCount, 5);
    f.ReadData();
    ASSERT_EQ(f.GetNumPoints(), static_cast<int>(c.samples.size()));
    for (size_t k = 0; k < c.samples.size(); ++k) {
      EXPECT_FLOAT_EQ(f.GetDataPtr()[k].re, c.samples[k].re) << k;
      EXPECT_FLOAT_EQ(f.GetDataPtr()[k].im, c.samples[k].im) << k;
    }
    EXPECT_EQ(f.GetTimeOrigin(), 0.0);
    EXPECT_DOUBLE_EQ(f.GetSampleRate(), c.rate);
    EXPECT_EQ(f.StartDateTime().second, c.firstTime);
  }
}

TEST_F(GenericTextTest, CallerRateStaysForLayoutsWithoutTime) {
  Write("g.txt", "1 2\n3 4\n");
  CQGenericTxtIQInputFile f;
  f.layout = 3;
  f.SetFileSampleRate(1e6);
  f.SetFileName(W("g.txt").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  EXPECT_EQ(info.sampleRate, 1e6);
  f.ReadData();
  EXPECT_EQ(f.GetSampleRate(), 1e6);
}

TEST_F(GenericTextTest, Failures) {
  struct Case {
    int layout;
    const char* text;
    const char* message;
  } cases[] = {
      {5, "0.0 1 0\n", "Invalid time values in input file."},
      {5, "1.0 1 0\n0.5 0 1\n1.0 2 2\n", "Invalid time values in input file."},
      {2, "Time,I\nnone\n", "No valid data found in input file."},
      {4, "7\n", "No valid data found in input file."},
      {3, "", "No valid data found in input file."},
      {0, "1 2\n", "Programming error: Data format be set before calling ReadFileParams()."},
      {6, "1 2\n", "Programming error: Data format be set before calling ReadFileParams()."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Write("g.txt", c.text);
    CQGenericTxtIQInputFile f;
    f.layout = c.layout;
    f.SetFileName(W("g.txt").c_str());
    CQFileInfo info;
    const auto e = Catch([&] { f.GetFileInfo(&info); });
    EXPECT_EQ(e.message, c.message);
    EXPECT_EQ(e.callStack.find("CQGenericTxtIQInputFile::ReadFileParams"), 0u);
    EXPECT_NE(e.callStack.find("CQGenericTxtIQInputFile::GetFileInfo"), std::string::npos);
  }
  CQGenericTxtIQInputFile f;
  f.layout = 3;
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message,
            "Programming error: File name must be set before calling ReadFileParams().");
  EXPECT_EQ(Catch([&] { f.SetFileName(nullptr); }).message, "Null pointer to file name.");
  EXPECT_EQ(Catch([&] { f.GetFileInfo(nullptr); }).message, "Null pointer to file info.");
  f.SetFileName(W("missing.txt").c_str());
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message, "Error opening input file.");
  // The file shrinks after its header was read.
  Write("g.txt", "1 2\n3 4\n5 6\n");
  f.SetFileName(W("g.txt").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  Write("g.txt", "1 2\n");
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message, "Error reading data from file.");
}

// Windows count sample lines: header and comment lines inside the file do not
// shift the samples a partial read returns.
TEST_F(GenericTextTest, PartialReadsSkipSampleLines) {
  Write("g.txt", "Time,I,Q\n0.0,1,10\n# note\n0.5,2,20\n\n1.0,3,30\nend\n");
  CQGenericTxtIQInputFile f;
  f.layout = 5;
  f.SetFileName(W("g.txt").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  ASSERT_EQ(info.numPoints, 3);
  ASSERT_EQ(info.sampleRate, 2.0);
  struct Case {
    int start, count;
    std::vector<float> re;
  } cases[] = {
      {-2, 4, {0, 0, 1, 2}}, {1, 2, {2, 3}}, {2, 2, {3, 0}}, {-3, 2, {0, 0}}, {5, 2, {0, 0}}, {-1, 5, {0, 1, 2, 3, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    f.partialRead = true;
    f.start = c.start;
    f.count = c.count;
    f.ReadData();
    ASSERT_EQ(f.GetNumPoints(), c.count);
    for (int k = 0; k < c.count; ++k) {
      EXPECT_EQ(f.GetDataPtr()[k], CQComplex(c.re[k], 10 * c.re[k]));
    }
    EXPECT_DOUBLE_EQ(f.GetTimeOrigin(), c.start / 2.0);
  }
}

TEST_F(GenericTextTest, PartialReadOfSplitLayoutTakesQFromTheSecondBlock) {
  Write("g.txt", "100\n200\n300\n-100\n-200\n-300\n");
  CQGenericTxtIQInputFile f;
  f.layout = 4;
  f.intFullScale = 100.0f;
  f.SetFileSampleRate(10.0);
  f.SetFileName(W("g.txt").c_str());
  f.partialRead = true;
  f.start = 1;
  f.count = 3;
  f.ReadData();
  ASSERT_EQ(f.GetNumPoints(), 3);
  EXPECT_EQ(f.GetDataPtr()[0], CQComplex(2, -2));
  EXPECT_EQ(f.GetDataPtr()[1], CQComplex(3, -3));
  EXPECT_EQ(f.GetDataPtr()[2], CQComplex(0, 0));
  EXPECT_DOUBLE_EQ(f.GetTimeOrigin(), 0.1);
}

TEST_F(GenericTextTest, ReadsFixturesWrittenIndependently) {
  ASSERT_EQ(Python("write-generic"), 0);
  for (int layout = 1; layout <= 5; ++layout) {
    SCOPED_TRACE(layout);
    CQGenericTxtIQInputFile f;
    f.layout = layout;
    f.SetFileName(W("generic" + std::to_string(layout) + ".txt").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    ASSERT_EQ(info.numPoints, 50);
    if (layout == 2 || layout == 5) {
      EXPECT_NEAR(info.sampleRate, 2e6, 1e-3);
      EXPECT_DOUBLE_EQ(info.firstSampleTime.second, 1e-3);
    }
    f.ReadData();
    for (int k = 0; k < 50; ++k) {
      const bool hasQ = layout >= 3;
      EXPECT_NEAR(f.GetDataPtr()[k].re, 0.01 * k, 1e-6);
      EXPECT_NEAR(f.GetDataPtr()[k].im, hasQ ? -0.02 * k : 0.0, 1e-6);
    }
  }
}

}  // namespace
