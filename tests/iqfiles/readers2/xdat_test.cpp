#include "iqfiles/formats/xdat.h"

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

class XdatTest : public lv_test::TempDirTest {
 protected:
  // rec.xhdr with the given attributes inside a data_file element, and rec.xdat.
  void Recording(const std::string& attributes, const std::vector<int16_t>& values,
                 const std::string& extra = "") {
    Write("rec.xhdr", "<?xml version=\"1.0\"?>\r\n<xcom_header>\r\n<data_files>\r\n<data_file " + attributes +
                          " />\r\n</data_files>\r\n" + extra + "</xcom_header>\r\n");
    Write("rec.xdat", Ints(values));
  }
  static constexpr const char* kBasic =
      "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1.52587890625e-05\" data_encoding=\"int16\"";
};

TEST_F(XdatTest, NamesAndBaseName) {
  for (const wchar_t* name : {L"/d/rec.xhdr", L"/d/rec.XDAT", L"/d/rec.xmrk"}) {
    EXPECT_EQ(CQReadXdatFile::MakeBaseFileName(name), L"/d/rec");
    EXPECT_TRUE(CQReadXdatFile::IsXdatFileName(name));
  }
  EXPECT_EQ(CQReadXdatFile::MakeDataFileName(L"/d/rec.xhdr"), L"/d/rec.xdat");
  EXPECT_EQ(CQReadXdatFile::MakeHeaderFileName(L"/d/rec.XDAT"), L"/d/rec.xhdr");
  EXPECT_EQ(CQReadXdatFile::MakeMarkerFileName(L"/d/rec"), L"/d/rec.xmrk");
  EXPECT_FALSE(CQReadXdatFile::IsXdatFileName(L"/d.xdat/rec.wv"));
  EXPECT_EQ(Catch([] { CQReadXdatFile::MakeBaseFileName(nullptr); }).message, "Null pointer to file name.");
}

TEST_F(XdatTest, HeaderAttributesWithUnitsAndTimes) {
  Recording(std::string(kBasic) +
                " attenuation=\"10\" center_frequency=\"2.4 GHz\" span=\"10 MHz\" acquisition_bandwidth=\"5 kHz\""
                " time_calibration=\"2019:365:23:59:1.25\" start_capture=\"2020:32:10:20:30.5\"",
            {256, -256, 512, 0, 0, 0, 0, 0},
            "<marker_files>\r\n<marker_file count=\"3\" format=\"XML\" />\r\n</marker_files>\r\n");
  CQReadXdatFile f;
  f.SetFileName(W("rec.xhdr").c_str());
  f.ReadHeader();
  EXPECT_EQ(f.GetMarkerCount(), 3);
  EXPECT_EQ(f.GetMarkerFormat(), 1);
  CQFileInfo info;
  f.GetFileInfo(&info);
  EXPECT_EQ(info.numPoints, 4);
  EXPECT_EQ(info.sampleRate, 1000.0);
  EXPECT_DOUBLE_EQ(info.centerFreq, 2.4e9);
  EXPECT_DOUBLE_EQ(info.bandwidth, 1e7);
  EXPECT_EQ(info.attenuation, 10.0f);
  EXPECT_EQ(info.markerCount, 3);
  EXPECT_FALSE(info.floatData);
  const CQDateTime& s = info.firstSampleTime;
  EXPECT_EQ(s.year, 2020);
  EXPECT_EQ(s.month, 2);
  EXPECT_EQ(s.day, 1);
  EXPECT_EQ(s.hour, 10);
  EXPECT_EQ(s.minute, 20);
  EXPECT_EQ(s.second, 30.5);
  EXPECT_EQ(info.timeReference.month, 12);
  EXPECT_EQ(info.timeReference.day, 31);
  EXPECT_EQ(info.timeReference.second, 1.25);
  f.ReadData();
  const CQCArrayTD* out = f.GetOutput();
  ASSERT_EQ(out->GetNumPoints(), 4);
  EXPECT_EQ(out->GetDataPtr()[0], CQComplex(256.0f, -256.0f));  // scale 2^-16 x 65536 = 1
  EXPECT_EQ(out->GetDataPtr()[1], CQComplex(512.0f, 0.0f));
  EXPECT_EQ(out->StartDateTime(), s);
  EXPECT_DOUBLE_EQ(out->GetCenterFreq(), 2.4e9);
}

TEST_F(XdatTest, DefaultsAndChoices) {
  struct Case {
    const char* attributes;
    double bandwidth;
    double centre;
  } cases[] = {
      {"", 1000.0, 0.0},
      {" acquisition_bandwidth=\"0.5 kHz\"", 500.0, 0.0},
      {" span=\"x\" acquisition_bandwidth=\"200\"", 200.0, 0.0},  // a span that does not convert
      {" center_frequency=\"-3 MHz\"", 1000.0, -3e6},
      {" center_frequency=\"7\"", 1000.0, 7.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    Recording(std::string(kBasic) + c.attributes, {0, 0, 0, 0, 0, 0, 0, 0});
    CQReadXdatFile f;
    f.SetFileName(W("rec.xdat").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.bandwidth, c.bandwidth);
    EXPECT_EQ(info.centerFreq, c.centre);
    EXPECT_EQ(info.firstSampleTime, CQDateTime());
    EXPECT_EQ(info.timeReference, CQDateTime());
    EXPECT_EQ(info.markerCount, 0);
  }
}

TEST_F(XdatTest, HeaderFailures) {
  struct Case {
    const char* attributes;
    const char* message;
  } cases[] = {
      {"scale_factor=\"1\"", "The number of samples was not found in the Xdat header file."},
      {"samples=\"4\" scale_factor=\"1\"", "The sample rate was not found in the Xdat header file."},
      {"samples=\"4\" sample_rate=\"1\"", "The scale factor was not found in the Xdat header file."},
      {"samples=\"99999999999\" sample_rate=\"1\" scale_factor=\"1\"", "The file is shorter than its header states."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    Recording(c.attributes, {});
    CQReadXdatFile f;
    f.SetFileName(W("rec.xhdr").c_str());
    const auto e = Catch([&] { f.ReadHeader(); });
    EXPECT_EQ(e.message, c.message);
    EXPECT_EQ(e.callStack.find("CQReadXdatFile::ReadHeader"), 0u);
  }
  CQReadXdatFile f;
  f.SetFileName(W("none.xhdr").c_str());
  CQFileInfo info;
  EXPECT_EQ(Catch([&] { f.GetFileInfo(&info); }).message, "Error opening Xdat header file: " + P("none.xhdr"));
  CQReadXdatFile unnamed;
  EXPECT_EQ(Catch([&] { unnamed.GetFileInfo(&info); }).message,
            "Programming error: file name must be set before calling GetFileInfo().");
  EXPECT_EQ(Catch([&] { unnamed.ReadData(); }).message,
            "Programming error: ReadHeader() must be called before calling ReadData() for Xdat data files.");
}

TEST_F(XdatTest, OnlySixteenBitSamplesAreRead) {
  Recording("samples=\"2\" sample_rate=\"1\" scale_factor=\"1\" data_encoding=\"int12\"", {1, 2, 3, 4});
  CQReadXdatFile f;
  f.SetFileName(W("rec.xhdr").c_str());
  f.ReadHeader();
  EXPECT_EQ(f.GetResolution(), 12);
  f.partialRead = true;
  f.count = 1;
  EXPECT_EQ(Catch([&] { f.ReadData(); }).message,
            "Reading of Xdat data files is only supported for 16-bit sample resolutions.");
}

TEST_F(XdatTest, SampleCountIsCheckedAgainstTheDataFile) {
  Recording("samples=\"5\" sample_rate=\"1\" scale_factor=\"1\"", {1, 2, 3, 4, 5, 6, 7, 8});  // 4 samples
  CQReadXdatFile f;
  f.SetFileName(W("rec.xhdr").c_str());
  f.ReadHeader();
  const auto e = Catch([&] { f.OpenDataFile(); });
  EXPECT_EQ(e.message, "The file is shorter than its header states.");
  EXPECT_EQ(e.callStack.find("CQReadXdatFile::OpenDataFile"), 0u);
  std::remove(P("rec.xdat").c_str());
  EXPECT_EQ(Catch([&] { f.OpenDataFile(); }).message, "Error opening Xdat data file: " + P("rec.xdat"));
}

TEST_F(XdatTest, WindowedReads) {
  Recording("samples=\"3\" sample_rate=\"4\" scale_factor=\"1.52587890625e-05\"", {1, 10, 2, 20, 3, 30});
  CQReadXdatFile f;
  f.SetFileName(W("rec.xhdr").c_str());
  f.ReadHeader();
  f.OpenDataFile();
  struct Case {
    int64_t start;
    int32_t count;
    std::vector<float> re;
  } cases[] = {
      {-3, 5, {0, 0, 0, 1, 2}}, {1, 2, {2, 3}}, {2, 3, {3, 0, 0}}, {5, 2, {0, 0}}, {-4, 4, {0, 0, 0, 0}}, {0, 3, {1, 2, 3}},
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
      EXPECT_EQ(out->GetDataPtr()[k], CQComplex(c.re[k], 10 * c.re[k]));
    }
    EXPECT_DOUBLE_EQ(out->GetTimeOrigin(), c.start / 4.0);
  }
  // A whole read after partial ones starts at the file's beginning.
  f.partialRead = false;
  f.ReadData();
  ASSERT_EQ(f.GetOutput()->GetNumPoints(), 3);
  EXPECT_EQ(f.GetOutput()->GetDataPtr()[0], CQComplex(1, 10));
  EXPECT_EQ(f.GetOutput()->GetTimeOrigin(), 0.0);
}

TEST_F(XdatTest, StartFromTheFirstMarker) {
  const std::string section = "<marker_files>\r\n<marker_file count=\"1\" format=\"XML\" />\r\n</marker_files>\r\n";
  struct Case {
    const char* markerLine;
    CQDateTime expected;
  } cases[] = {
      {"<marker marker_number=\"0\" file_sample_number=\"1000\" time_stamp=\"2020:1:00:00:00.5\" />",
       [] { CQDateTime t; t.year = 2019; t.month = 12; t.day = 31; t.hour = 23; t.minute = 59; t.second = 59.5; return t; }()},
      {"<marker marker_number=\"0\" absolute_sample_number=\"2000\" timestamp=\"2020:1:00:00:03\" />",
       [] { CQDateTime t; t.year = 2020; t.month = 1; t.day = 1; t.hour = 0; t.minute = 0; t.second = 1.0; return t; }()},
      // No time of day: the capture start stays.
      {"<marker marker_number=\"0\" file_sample_number=\"1000\" time_stamp=\"2020:1:00:00:00\" />",
       [] { CQDateTime t; t.year = 2021; t.month = 1; t.day = 5; t.hour = 1; t.minute = 2; t.second = 3.0; return t; }()},
      // The first marker is not marker 0.
      {"<marker marker_number=\"1\" file_sample_number=\"1\" time_stamp=\"2020:1:00:00:01\" />",
       [] { CQDateTime t; t.year = 2021; t.month = 1; t.day = 5; t.hour = 1; t.minute = 2; t.second = 3.0; return t; }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.markerLine);
    Recording("samples=\"0\" sample_rate=\"1000\" scale_factor=\"1\" start_capture=\"2021:5:01:02:03\"", {}, section);
    Write("rec.xmrk", std::string("<?xml version=\"1.0\"?>\n<markers>\n") + c.markerLine + "\n</markers>\n");
    CQReadXdatFile f;
    f.useFirstMarker = true;
    f.SetFileName(W("rec.xhdr").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.firstSampleTime, c.expected);
    EXPECT_EQ(info.timeReference, c.expected);  // no calibration time: a copy of the start
  }
  CQReadXdatFile f;
  f.SetFileName(W("rec.xhdr").c_str());
  CQXdatMarker m;
  Write("rec.xmrk", "<marker marker_number=\"0\" pulse_start_sample=\"7\" time_stamp=\"0:0:01:00:00\" "
                    "time_stamp_source=\"IRIG\" />\n");
  ASSERT_TRUE(f.ReadFirstMarker(&m, 1));
  EXPECT_EQ(m.pulseStartSample, 7);
  EXPECT_EQ(m.pulseEndSample, -1);
  EXPECT_EQ(m.irig, 1);
  EXPECT_GE(m.timeStamp.year, 2024);  // a time of day without a year takes the current one
  EXPECT_FALSE(f.ReadFirstMarker(&m, 2));
}

}  // namespace
