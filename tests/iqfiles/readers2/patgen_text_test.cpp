#include "iqfiles/formats/patgen_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;

using PatgenTextTest = lv_test::TempDirTest;

TEST_F(PatgenTextTest, LayoutsAndTheAbandonRule) {
  struct Case {
    int layout;
    const char* text;
    std::vector<CQComplex> samples;
  } cases[] = {
      {1, "1\n2\n3\n4\n", {{1, 2}, {3, 4}}},
      {2, "1\n2\n3\n4\n", {{1, 3}, {2, 4}}},
      {1, "1\r\nx\r\n2\r\n3\r\n", {{2, 3}}},          // the I value 1 is abandoned at x
      {2, "# I\n1\n2\n# Q\n3\n4\n", {{1, 3}, {2, 4}}},  // non-value lines passed over
      {1, "5 junk\n6\nbad\n", {{5, 6}}},               // three value lines give one sample
      {1, "1\n2\n3\n", {{1, 2}}},                       // the third line is never read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Write("p.txt", c.text);
    CQADIDpgTxtFile f;
    f.layout = c.layout;
    f.SetFileSampleRate(1e6);
    f.SetFileCenterFreq(-3e6);
    f.SetFileName(W("p.txt").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.numPoints, static_cast<int64_t>(c.samples.size()));
    EXPECT_EQ(info.sampleRate, 1e6);
    EXPECT_EQ(info.centerFreq, -3e6);
    EXPECT_EQ(info.bandwidth, 800000.0);
    EXPECT_TRUE(info.complex);
    EXPECT_TRUE(info.floatData);
    f.ReadData();
    const CQCArrayTD* out = f.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), static_cast<int>(c.samples.size()));
    for (size_t k = 0; k < c.samples.size(); ++k) {
      EXPECT_EQ(out->GetDataPtr()[k], c.samples[k]) << k;
    }
    EXPECT_EQ(out->GetSampleRate(), 1e6);
    EXPECT_EQ(out->GetCenterFreq(), -3e6);
    EXPECT_EQ(out->GetBandwidth(), 800000.0);
  }
}

TEST_F(PatgenTextTest, Failures) {
  CQADIDpgTxtFile f;
  for (double bad : {0.0, -1.0}) {
    const auto e = Catch([&] { f.SetFileSampleRate(bad); });
    EXPECT_EQ(e.message, "Sample rate being set to an invalid value.");
    EXPECT_EQ(e.callStack.find("CQADIDpgTxtFile::SetFileSampleRate"), 0u);
  }
  CQFileInfo info;
  EXPECT_EQ(Catch([&] { f.GetFileInfo(&info); }).message,
            "Programming error: File name must be set before calling ReadFileParams().");
  Write("p.txt", "1\n");
  f.SetFileName(W("p.txt").c_str());
  const auto e = Catch([&] { f.GetFileInfo(&info); });
  EXPECT_EQ(e.message, "No valid data found in input file.");
  EXPECT_NE(e.callStack.find("CQADIDpgTxtFile::GetFileInfo"), std::string::npos);
  // Abandoned pairs can leave too few values for the count.
  Write("p.txt", "1\nx\n2\nx\n3\n4\n");
  f.SetFileName(W("p.txt").c_str());
  f.GetFileInfo(&info);
  EXPECT_EQ(info.numPoints, 2);
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message, "Error reading data from file.");
  f.SetFileName(W("none.txt").c_str());
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message, "Error opening input file.");
}

TEST_F(PatgenTextTest, ReadsFixturesWrittenIndependently) {
  ASSERT_EQ(Python("write-patgen"), 0);
  for (int layout = 1; layout <= 2; ++layout) {
    CQADIDpgTxtFile f;
    f.layout = layout;
    f.SetFileSampleRate(2e6);
    f.SetFileName(W("patgen" + std::to_string(layout) + ".txt").c_str());
    f.ReadData();
    ASSERT_EQ(f.GetOutput()->GetNumPoints(), 50);
    for (int k = 0; k < 50; ++k) {
      EXPECT_NEAR(f.GetOutput()->GetDataPtr()[k].re, 0.01 * k, 1e-6);
      EXPECT_NEAR(f.GetOutput()->GetDataPtr()[k].im, -0.02 * k, 1e-6);
    }
  }
}

}  // namespace
