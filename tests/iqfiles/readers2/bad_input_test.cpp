// Bad input to the IQ file formats: header numbers that cannot be used,
// samples that are not finite, and text files that changed between their
// description and their read. Each fails with a clear CQError.
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "iqfiles/formats/bin_pair.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/iqtxt.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/vsa_text.h"
#include "iqfiles/formats/wv.h"
#include "iqfiles/formats/xdat.h"
#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;
using lv_test::CaughtError;

using BadInputTest = lv_test::TempDirTest;

const std::string kXdatData(16, '\0');  // four samples

std::string XdatHeader(const std::string& attributes) {
  return "<?xml version=\"1.0\"?>\r\n<xcom_header>\r\n<data_files>\r\n<data_file " + attributes +
         " />\r\n</data_files>\r\n<marker_files>\r\n<marker_file count=\"1\" format=\"XML\" />\r\n"
         "</marker_files>\r\n</xcom_header>\r\n";
}

std::string XdatMarker(const std::string& attributes) {
  return "<?xml version=\"1.0\"?>\n<markers>\n<marker marker_number=\"0\" " + attributes + " />\n</markers>\n";
}

TEST_F(BadInputTest, HeaderNumbersAreRefusedNamingFileAndField) {
  enum Kind { kWv, kWvh, kSiq, kXdat, kAgilent, kAgilentBin, kIqtxt, kIqbin };
  struct Case {
    Kind kind;
    std::string text;    // the header (the marker file for kXdat when marker is set)
    std::string marker;  // kXdat: the marker attributes, empty for none
    const char* field;
    const char* file;             // the file the message names
    const char* message = nullptr;  // a format's own message instead
  } cases[] = {
      // .wv: tags end at their brace; counts are whole and in range; the clock is positive.
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:abc}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:0}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:-1000}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:nan}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:1e999}{SAMPLES:3}", "", "CLOCK", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:1000}{FREQUENCY:1e6 Hz}{SAMPLES:3}", "", "FREQUENCY", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:1e30}", "", "SAMPLES", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:2.5}", "", "SAMPLES", "a.wv"},
      {kWv, "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:-3}", "", "SAMPLES", "a.wv"},
      // .wvh: a level whose scale is infinite or zero in float, a zero or unreadable clock.
      {kWvh, "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:1e6}{REFLEVEL:400}", "", "REFLEVEL", "a.wvh"},
      {kWvh, "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:1e6}{REFLEVEL:-1000}", "", "REFLEVEL", "a.wvh"},
      {kWvh, "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:0}", "", "CLOCK", "a.wvh"},
      {kWvh, "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:abc}{FREQUENCY:5}", "", "CLOCK", "a.wvh"},
      {kWvh, "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:1e6}{FREQUENCY:inf}", "", "FREQUENCY", "a.wvh"},
      // .siqh: rate and scale positive, the centre finite.
      {kSiq, "RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:0\nDataScale:1\n", "", "SampleRate", "a.siqh"},
      {kSiq, "RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:1e6\nDataScale:0\n", "", "DataScale", "a.siqh"},
      {kSiq, "RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:1e6\nDataScale:-1\n", "", "DataScale", "a.siqh"},
      {kSiq, "RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:1e6\nDataScale:1\nCenterFrequency:1e400\n", "",
       "CenterFrequency", "a.siqh"},
      // Xdat header: counts, rates, scales and dates.
      {kXdat, "samples=\"1.5\" sample_rate=\"1000\" scale_factor=\"1\"", "", "samples", "rec.xhdr"},
      {kXdat, "samples=\"-1\" sample_rate=\"1000\" scale_factor=\"1\"", "", "samples", "rec.xhdr"},
      {kXdat, "samples=\"4x\" sample_rate=\"1000\" scale_factor=\"1\"", "", "samples", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"0\" scale_factor=\"1\"", "", "sample_rate", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"-1000\" scale_factor=\"1\"", "", "sample_rate", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"nan\"", "", "scale_factor", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"-1\"", "", "scale_factor", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1e-300\"", "", "scale_factor", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1\" start_capture=\"2021:400:01:02:03\"", "",
       "start_capture", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1\" start_capture=\"2021:5:25:02:03\"", "",
       "start_capture", "rec.xhdr"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1\" time_calibration=\"2021:5:01:02:nan\"", "",
       "time_calibration", "rec.xhdr"},
      // Xdat marker: its time and the shift to the first sample.
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1\"",
       "file_sample_number=\"0\" time_stamp=\"2020:1:00:00:nan\"", "time_stamp", "rec.xmrk"},
      {kXdat, "samples=\"4\" sample_rate=\"1000\" scale_factor=\"1\"",
       "file_sample_number=\"9223372036854775807\" time_stamp=\"2020:1:00:00:01\"", "file_sample_number",
       "rec.xmrk"},
      {kXdat, "samples=\"4\" sample_rate=\"1e-300\" scale_factor=\"1\"",
       "absolute_sample_number=\"1000\" time_stamp=\"2020:1:00:00:01\"", "absolute_sample_number", "rec.xmrk"},
      // VSA text: a denormal step gives an infinite rate.
      {kAgilent, "XDelta 4e-320\n1 2\n", "", "XDelta", "a.txt"},
      {kAgilent, "XDelta 1e400\n1 2\n", "", "XDelta", "a.txt"},
      {kAgilent, "XDelta 1e-6\nXStart -inf\n1 2\n", "", "XStart", "a.txt"},
      // Agilent bin pair: a zero step or scale is a bad file, not a programming error; a negative scale stays.
      {kAgilentBin, "YScale 1\nXDelta 0\n", "", "XDelta", "x.bin.txt"},
      {kAgilentBin, "YScale 1\nXDelta 1e-320\n", "", "XDelta", "x.bin.txt"},
      {kAgilentBin, "YScale 0\nXDelta 1\n", "", "YScale", "x.bin.txt"},
      {kAgilentBin, "YScale 1e39\nXDelta 1\n", "", "YScale", "x.bin.txt"},
      {kAgilentBin, "YScale 1\nXDelta 1\nInputCenter 1e400\n", "", "InputCenter", "x.bin.txt"},
      // IQTxt: numbers that are not finite do not parse.
      {kIqtxt, "IQTxt v1\r\nNumSamples 1\r\nSampleRate inf\r\nCenterFreq 0\r\n1 2\r\n", "", "", "",
       "Error reading from IQTxt file. (Error parsing SampleRate.)"},
      {kIqtxt, "IQTxt v1\r\nNumSamples 1\r\nSampleRate 1e3\r\nCenterFreq nan\r\n1 2\r\n", "", "", "",
       "Error reading from IQTxt file. (Error parsing CenterFreq.)"},
      // IQ binary: the text names the header value to store (written by our own writer).
      {kIqbin, "rate", "", "", "", "Invalid sample rate for an IQ binary file."},
      {kIqbin, "centre", "", "CenterFreq", "a.iqbin"},
      {kIqbin, "origin", "", "TimeOrigin", "a.iqbin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " | " + c.marker);
    CQFileInfo info;
    CaughtError e;
    switch (c.kind) {
      case kWv: {
        Write("a.wv", c.text + "{WAVEFORM-13:#" + std::string(12, '\0') + "}");
        CQReadRSWvFile r;
        r.SetFileName(W("a.wv").c_str());
        e = Catch([&] { r.GetFileInfo(&info); });
        break;
      }
      case kWvh: {
        Write("a.wvh", c.text);
        Write("a.wvd", std::string(8, '\0'));
        CQRSWvdhFile r;
        r.SetFileName(W("a.wvh").c_str());
        e = Catch([&] { r.GetFileInfo(&info); });
        break;
      }
      case kSiq: {
        Write("a.siqh", c.text);
        Write("a.siqd", std::string(8, '\0'));
        CQSIQFile r;
        r.SetFileName(W("a.siqh").c_str());
        e = Catch([&] { r.GetFileInfo(&info); });
        break;
      }
      case kXdat: {
        Write("rec.xhdr", XdatHeader(c.text));
        Write("rec.xdat", kXdatData);
        std::filesystem::remove(dir_ / "rec.xmrk");
        if (!c.marker.empty()) {
          Write("rec.xmrk", XdatMarker(c.marker));
        }
        CQReadXdatFile r;
        r.useFirstMarker = true;
        r.SetFileName(W("rec.xhdr").c_str());
        e = Catch([&] { r.GetFileInfo(&info); });
        break;
      }
      case kAgilent: {
        Write("a.txt", c.text);
        CQAgilentVSATxtFile r;
        r.SetFileName(W("a.txt").c_str());
        e = Catch([&] { r.GetFileInfo(r.GetFileNameUtf8(), &info); });
        break;
      }
      case kAgilentBin: {
        Write("x.bin.txt", c.text);
        Write("x.bin", std::string(8, '\0'));
        CQAgilentBinFile r;
        r.SetFileName(W("x.bin").c_str());
        e = Catch([&] { r.GetFileInfo(&info); });
        break;
      }
      case kIqtxt: {
        Write("a.iqtxt", c.text);
        CLumvardTxtFile r;
        r.SetFileName(W("a.iqtxt").c_str());
        e = Catch([&] { r.GetFileInfo(P("a.iqtxt").c_str(), &info); });
        break;
      }
      case kIqbin: {
        const double inf = std::numeric_limits<double>::infinity();
        const CQComplex one(1.0f, 2.0f);
        CQCArrayTD a;
        a.Set(&one, 1, c.text == "rate" ? inf : 1e3, c.text == "origin" ? -inf : 0.0);
        a.SetCenterFreq(c.text == "centre" ? std::numeric_limits<double>::quiet_NaN() : 0.0);
        CLumvardBinFile r;
        r.SetFileName(W("a.iqbin").c_str());
        r.WriteToFile(&a);  // the writer keeps header values as they are
        e = Catch([&] { r.GetFileInfo(P("a.iqbin").c_str(), &info); });
        break;
      }
    }
    EXPECT_TRUE(e.thrown);
    EXPECT_EQ(e.message, c.message != nullptr ? std::string(c.message)
                                              : "The value of \"" + std::string(c.field) + "\" in the file \"" +
                                                    P(c.file) + "\" is not valid.");
  }
}

// A .wv file without its waveform tag is a bad file, not a programming error:
// the description refuses it, and a reader that described a good file before
// does not read the old file's samples.
TEST_F(BadInputTest, WvWithoutWaveformTagIsRefusedClearly) {
  const std::string message = "The parameter \"WAVEFORM\" was not found in the R&S wv file.";
  CQReadRSWvFile r;
  r.SetFileName(W("a.wv").c_str());
  CQFileInfo info;
  Write("a.wv", "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:3}" + std::string(12, '\0'));
  EXPECT_EQ(Catch([&] { r.GetFileInfo(&info); }).message, message);
  EXPECT_EQ(Catch([&] { r.ReadData(); }).message.rfind("Programming error", 0), 0u);
  Write("a.wv", "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:3}{WAVEFORM-13:#" + std::string(12, '\0') + "}");
  r.GetFileInfo(&info);
  Write("a.wv", "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:3}{WAVE-13:#" + std::string(12, '\0') + "}");
  EXPECT_EQ(Catch([&] { r.GetFileInfo(&info); }).message, message);
  // The good file's offset is gone with its description.
  r.partialRead = false;
  EXPECT_EQ(Catch([&] { r.ReadData(); }).message.rfind("Programming error", 0), 0u);
}

TEST_F(BadInputTest, GoodHeaderNumbersStillRead) {
  // White space around a value and a value that fills its tag are fine.
  Write("a.wv", "{TYPE: SMU-WV,0}{CLOCK: 1000 }{FREQUENCY:-2.5e6}{SAMPLES:3}{WAVEFORM-13:#" +
                    std::string(12, '\0') + "}");
  CQReadRSWvFile r;
  r.SetFileName(W("a.wv").c_str());
  CQFileInfo info;
  r.GetFileInfo(&info);
  EXPECT_EQ(info.sampleRate, 1000.0);
  EXPECT_EQ(info.centerFreq, -2.5e6);
  EXPECT_EQ(info.numPoints, 3);
  // A count between the int32 range and 2^53 is a count the file cannot hold.
  Write("a.wv", "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:3000000000}{WAVEFORM-13:#" + std::string(12, '\0') + "}");
  EXPECT_EQ(Catch([&] { r.GetFileInfo(&info); }).message, "The file is shorter than its header states.");
}

// Header numbers a reader would refuse are refused by the writers, and the
// old file stays (a clock below a microhertz used to be written as 0.000000;
// a NaN centre as "nan"). Tiny but valid clocks are written so they read back.
TEST_F(BadInputTest, WritersRefuseHeaderNumbersTheirReadersRefuse) {
  const CQComplex samples[2] = {{0.5f, -0.25f}, {0.125f, 0.0f}};
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct Case {
    double rate, centre;
    const char* message;  // null: written and read back
  } cases[] = {
      {0.0, 0.0, "Invalid sample rate."},   {-1e3, 0.0, "Invalid sample rate."},
      {nan, 0.0, "Invalid sample rate."},   {inf, 0.0, "Invalid sample rate."},
      {1e3, nan, "Invalid center frequency."}, {1e3, -inf, "Invalid center frequency."},
      {1e-308, 2.4e9, nullptr},             {1e-9, 0.0, nullptr},
      {2.5e6, 2.4123456789e9, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + " " + std::to_string(c.centre));
    Write("a.wv", "old");
    CQWriteRSWvFile w;
    w.clock = c.rate;
    w.centerFreq = c.centre;
    w.SetFileName(W("a.wv").c_str());
    CQCArrayTD array;
    array.Set(samples, 2, 1e3, 0.0);
    const CaughtError e = Catch([&] {
      w.WriteHeader();
      w.WriteData(&array);
    });
    if (c.message != nullptr) {
      EXPECT_EQ(e.message, c.message);
      EXPECT_EQ(Slurp("a.wv"), "old");
      continue;
    }
    ASSERT_FALSE(e.thrown) << e.message;
    CQReadRSWvFile r;
    r.SetFileName(W("a.wv").c_str());
    CQFileInfo info;
    r.GetFileInfo(&info);
    EXPECT_EQ(info.sampleRate, c.rate);
    EXPECT_NEAR(info.centerFreq, c.centre, 1e-6);
    EXPECT_EQ(info.numPoints, 2);
  }
  // The usual numbers keep their six-decimal form.
  EXPECT_NE(Slurp("a.wv").find("{CLOCK:2500000.000000}{LEVEL OFFS:0.0, 0.0}{FREQUENCY:2412345678.900000}"),
            std::string::npos);
  // VSA text: XDelta = 1/rate must be finite, the centre finite.
  for (const auto& [rate, centre] : {std::pair{1e-310, 0.0}, std::pair{inf, 0.0}, std::pair{1e3, nan}}) {
    Write("a.txt", "old");
    CQADIVSATxtFile t;
    t.SetFileName(W("a.txt").c_str());
    CQCArrayTD array;
    array.Set(samples, 2, 1e3, 0.0);
    array.SetSampleRate(rate);
    array.SetCenterFreq(centre);
    EXPECT_TRUE(Catch([&] { t.WriteToFile(&array); }).thrown) << rate << " " << centre;
    EXPECT_EQ(Slurp("a.txt"), "old");
  }
}

TEST_F(BadInputTest, WritersRefuseSamplesThatAreNotFinite) {
  struct Writer {
    const char* name;
    std::function<void(const CQCArrayTD&)> write;
  };
  const std::vector<Writer> writers = {
      {"a.wv",
       [&](const CQCArrayTD& a) {
         CQWriteRSWvFile w;
         w.clock = 1e3;
         w.SetFileName(W("a.wv").c_str());
         w.WriteHeader();
         w.WriteData(&a);
       }},
      {"a.wvd",
       [&](const CQCArrayTD& a) {
         CQRSWvdhFile w;
         w.SetFileName(W("a.wvh").c_str());
         w.SetScale(1.0f / 32767.0f);
         w.SetSampleRate(1e3);
         w.WriteHeader();
         w.WriteData(&a);
         w.FinishDataFile();
       }},
      {"a.iqtxt",
       [&](const CQCArrayTD& a) {
         CLumvardTxtFile w;
         w.SetFileName(W("a.iqtxt").c_str());
         w.WriteToFile(&a);
       }},
      {"a.txt",
       [&](const CQCArrayTD& a) {
         CQADIVSATxtFile w;
         w.SetFileName(W("a.txt").c_str());
         w.WriteToFile(&a);
       }},
      {"a.iqbin",
       [&](const CQCArrayTD& a) {
         CLumvardBinFile w;
         w.SetFileName(W("a.iqbin").c_str());
         w.WriteToFile(&a);
       }},
  };
  const CQComplex good[3] = {{0.5f, -0.25f}, {0.125f, 0.0f}, {-0.5f, 0.25f}};
  CQCArrayTD goodArray;
  goodArray.Set(good, 3, 1e3, 0.0);
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity()};
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    w.write(goodArray);
    const std::string original = Slurp(w.name);
    ASSERT_FALSE(original.empty());
    for (const float value : bad) {
      for (const int part : {1, 4}) {  // an I and a Q
        SCOPED_TRACE(std::to_string(value) + " at part " + std::to_string(part));
        CQComplex samples[3] = {good[0], good[1], good[2]};
        reinterpret_cast<float*>(samples)[part] = value;
        CQCArrayTD array;
        array.Set(samples, 3, 1e3, 0.0);
        const CaughtError e = Catch([&] { w.write(array); });
        EXPECT_EQ(e.code, 4);
        EXPECT_EQ(e.message, "The samples to write include values that are not finite.");
        EXPECT_EQ(Slurp(w.name), original);
      }
    }
  }
  // No temporary file stays behind.
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

TEST_F(BadInputTest, VsaTextThatLostLinesFailsTheRead) {
  for (const bool adi : {false, true}) {
    SCOPED_TRACE(adi ? "ADI" : "Agilent");
    Write("a.txt", "XDelta 1e-6\n1 2\n3 4\n5 6\n");
    CQAgilentVSATxtFile agilent;
    CQADIVSATxtFile adiReader;
    CQVSATxtReader& r = adi ? static_cast<CQVSATxtReader&>(adiReader) : agilent;
    r.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    r.GetFileInfo(r.GetFileNameUtf8(), &info);
    ASSERT_EQ(info.numPoints, 3);
    Write("a.txt", "XDelta 1e-6\n1 2\n3 4\n");
    EXPECT_EQ(Catch([&] { r.ReadData(); }).message, "Error reading data from file.");
  }
}

}  // namespace
