// The data manager and its thread, with real files in a temporary folder.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iterator>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "workers/settings_file.h"
#include "core/array_math.h"
#include "core/error_dialog.h"
#include "iqfiles/manager/data_manager.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/iqtxt.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/wv.h"
#include "platform/text.h"
#include "support/errors.h"

namespace {

using lv_test::Catch;
namespace fs = std::filesystem;
using M = CQMultiDataMgr;
using T = CWMultiDataMgrThread;

constexpr int kN = 40;
constexpr double kRate = 4e6;
constexpr double kCentre = 2.4e9;

std::unique_ptr<CQCArrayTD> Ramp() {
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    v[static_cast<size_t>(k)] = CQComplex(static_cast<float>(0.02 * k), static_cast<float>(-0.01 * k));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), kN, kRate, 0.0);
  a->SetCenterFreq(kCentre);
  return a;
}

TEST(DataManagerFileType, TableOfNames) {
  struct Case {
    const wchar_t* name;
    int32_t txtType;
    int32_t expected;
  };
  const Case cases[] = {
      {L"/d/rec.xhdr", 0, 1},
      {L"/d/rec.XDAT", 0, 1},
      {L"/d/rec.xmrk", 0, 1},
      {L"/d/a.siqh", 0, 2},
      {L"/d/a.SiqD", 0, 2},
      {L"/d/a.iqbin", 0, 3},
      {L"/d/A.IQBIN", 0, 3},
      {L"/d/a.iqtxt", 0, 4},
      {L"/d/a.bin", 0, 5},
      {L"/d/a.BIN.txt", 9, 5},  // a .bin pair, never a text type
      {L"/d/a.bin.txt", 0, 5},
      {L"/d/a.wvh", 0, 14},
      {L"/d/a.WVD", 0, 14},
      {L"/d/a.wv", 0, 15},
      {L"/d/a.Wv", 0, 15},
      {L"/d/a.txt", 0, 0},
      {L"/d/a.txt", 5, 0},
      {L"/d/a.txt", 14, 0},
      {L"/d/a.txt", 6, 6},
      {L"/d/a.TXT", 9, 9},
      {L"/d/a.txt", 13, 13},
      {L"/d/a.csv", 11, 11},
      {L"/d/a.csv", 9, 0},
      {L"/d/a.CSV", 0, 0},
      {L"/d/a.dat", 0, 0},
      {L"/d/noext", 0, 0},
      {L"", 0, 0},
      // Folders named like an extension do not change the type.
      {L"/x.siqh/a.iqbin", 0, 3},
      {L"/x.bin/y.xhdr/a.wv", 0, 15},
      {L"/d.iqbin/a.txt", 0, 0},
      {L"/d.wv/a.dat", 0, 0},
      {L"/d.csv/a.txt", 11, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name) + " text type " + std::to_string(c.txtType));
    EXPECT_EQ(M::FindFileType(c.name, c.txtType), c.expected);
  }
  EXPECT_EQ(M::FindFileType(nullptr, 9), 0);
  EXPECT_TRUE(M::IsTxtFileName(L"/d/a.TxT"));
  EXPECT_FALSE(M::IsTxtFileName(L"/d.txt/a.wv"));
  EXPECT_TRUE(M::IsCsvFileName(L"a.csv"));
}

class DataManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lv_datamgr_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
  }
  std::wstring W(const std::string& name) const { return lv::Utf8ToWide((dir_ / name).string()); }

  std::wstring WriteIqbin(const std::string& name) {
    CLumvardBinFile f;
    f.SetFileName(W(name).c_str());
    f.WriteToFile(Ramp().get());
    return W(name);
  }
  std::wstring WriteWvdh(const std::string& name) {
    const auto ref = Ramp();
    CQRSWvdhFile pair;
    pair.SetScale(CQRSWvdhFile::MakeScaleFromPeak(CQArrayMath::FindMaxMag(ref->GetDataPtr(), kN)));
    pair.SetSampleRate(kRate);
    pair.SetBandwidth(kRate);
    pair.SetCenterFreq(kCentre);
    pair.SetFileName(W(name).c_str());
    pair.WriteHeader();
    pair.WriteData(ref.get());
    pair.FinishDataFile();
    return W(name);
  }
  std::wstring WriteWv(const std::string& name) {
    CQWriteRSWvFile wv;
    wv.clock = kRate;
    wv.centerFreq = kCentre;
    wv.SetFileName(W(name).c_str());
    wv.WriteHeader();
    wv.WriteData(Ramp().get());
    return W(name);
  }
  // A SIQ pair holding the integers (2k, -4k) times gain with data scale 0.5.
  std::wstring WriteSiq(const std::string& base, int gain = 1) {
    {
      std::ofstream h(dir_ / (base + ".siqh"), std::ios::binary);
      h << "RSASIQHT:1,34\nNumberFormat:IQ-Int16\nSampleRate:4000000.0\nDataScale:0.5\n"
           "CenterFrequency:2400000000.0\nAcqBandwidth:1600000\nTimeRefWallTime:2019-03-14T12:34:56.789\n";
    }
    std::ofstream d(dir_ / (base + ".siqd"), std::ios::binary);
    for (int k = 0; k < kN; ++k) {
      const int16_t pair[2] = {static_cast<int16_t>(2 * k * gain), static_cast<int16_t>(-4 * k * gain)};
      d.write(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return W(base + ".siqh");
  }
  // A .bin pair: YScale 0.001, 4 MHz, centre 2.4 GHz, integers (50k, -25k).
  std::wstring WriteBinPair(const std::string& base) {
    {
      std::ofstream h(dir_ / (base + ".bin.txt"), std::ios::binary);
      h << "YScale: 0.001\r\nXDelta: 2.5e-7\r\nInputCenter 2.4e9\r\n";
    }
    std::ofstream d(dir_ / (base + ".bin"), std::ios::binary);
    for (int k = 0; k < kN; ++k) {
      const int16_t pair[2] = {static_cast<int16_t>(50 * k), static_cast<int16_t>(-25 * k)};
      d.write(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return W(base + ".bin.txt");
  }
  // The text and Xdat formats below all hold the samples Slope(k) (exact in
  // binary and in short decimals), at 4 MHz around 2.4 GHz where the file
  // says so.
  static CQComplex Slope(int k, float gain = 1.0f) {
    return CQComplex(gain * static_cast<float>(k) / 8.0f, -gain * static_cast<float>(k) / 16.0f);
  }
  static std::string Num(double v) { return lv::FormatC("%.9g", v); }
  void WriteText(const std::string& name, const std::string& text) {
    std::ofstream out(dir_ / name, std::ios::binary);
    out << text;
  }
  // An Xdat recording base.xhdr/base.xdat; its 16-bit pairs (2k, -k) times
  // gain come out as Slope(k, gain) with the scale factor 2^-20.
  std::wstring WriteXdat(const std::string& base, int gain = 1, const std::string& rate = "4000000", int n = kN) {
    WriteText(base + ".xhdr",
              "<?xml version=\"1.0\"?>\r\n<xcom_header>\r\n<data_files>\r\n<data_file samples=\"" +
                  std::to_string(n) +
                  "\" sample_rate=\"" + rate + "\" scale_factor=\"9.5367431640625e-07\" data_encoding=\"int16\""
                  " center_frequency=\"2.4 GHz\" start_capture=\"2020:32:10:20:30.5\" />\r\n</data_files>\r\n"
                  "</xcom_header>\r\n");
    std::ofstream d(dir_ / (base + ".xdat"), std::ios::binary);
    for (int k = 0; k < n; ++k) {
      const int16_t pair[2] = {static_cast<int16_t>(2 * k * gain), static_cast<int16_t>(-k * gain)};
      d.write(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return W(base + ".xhdr");
  }
  // Vector-signal-analyser text: a header with the given XDelta, then one
  // sample line per sample, "I Q" or "I,Q".
  std::wstring WriteVsa(const std::string& name, const std::string& xDelta, const char* separator) {
    std::string text = "InputZoom\tTRUE\nInputCenter\t2400000000.0\nXDelta\t" + xDelta +
                       "\nXDomain\t2\nXUnit\tSec\nXStart\t0.0\nY\n";
    for (int k = 0; k < kN; ++k) {
      text += Num(Slope(k).re) + separator + Num(Slope(k).im) + "\n";
    }
    WriteText(name, text);
    return W(name);
  }
  // Generic text: "I Q" lines, or "time,I,Q" lines with a header line.
  std::wstring WriteGeneric(const std::string& name, bool timeColumn) {
    std::string text = timeColumn ? "Time,I,Q\n" : "";
    for (int k = 0; k < kN; ++k) {
      text += timeColumn ? Num(k * 2.5e-7) + "," + Num(Slope(k).re) + "," + Num(Slope(k).im) + "\n"
                         : Num(Slope(k).re) + " " + Num(Slope(k).im) + "\n";
    }
    WriteText(name, text);
    return W(name);
  }
  // Pattern-generator text, one value a line: I and Q alternating (layout
  // 1) or all I values then all Q values (layout 2).
  std::wstring WritePatgen(const std::string& name, int layout) {
    std::string text;
    for (int k = 0; k < kN; ++k) {
      text += layout == 1 ? Num(Slope(k).re) + "\n" + Num(Slope(k).im) + "\n" : Num(Slope(k).re) + "\n";
    }
    for (int k = 0; layout == 2 && k < kN; ++k) {
      text += Num(Slope(k).im) + "\n";
    }
    WriteText(name, text);
    return W(name);
  }
  std::wstring WriteIqtxt(const std::string& name) {
    CLumvardTxtFile txt;
    txt.SetFileName(W(name).c_str());
    txt.WriteToFile(Ramp().get());
    return W(name);
  }

  fs::path dir_;
  lv_test::ShownErrors shown_;
};

class DataManagerThreadTest : public DataManagerTest {
 protected:
  void SetUp() override {
    DataManagerTest::SetUp();
    ASSERT_TRUE(thread_.StartUIThread());
  }
  void TearDown() override {
    thread_.StopAndJoin(10000);
    DataManagerTest::TearDown();
  }
  std::unique_ptr<CQFileInfo> Describe(int32_t index) {
    CQFileInfo* info = nullptr;
    thread_.GetParam(&info, T::kParamFileInfo, index);
    return std::unique_ptr<CQFileInfo>(info);
  }
  T thread_;
};

TEST_F(DataManagerThreadTest, DescribesEachReadableFormatWithANewRecord) {
  struct Case {
    std::wstring name;
    int32_t type;
    bool floatData;
    double bandwidth;
  };
  const Case cases[] = {
      {WriteIqbin("a.iqbin"), 3, true, kRate},
      {WriteWvdh("b.wvh"), 14, false, -1.0},
      {WriteWv("c.wv"), 15, false, -1.0},
      {WriteSiq("e"), 2, false, 1.6e6},
      {WriteBinPair("f"), 5, false, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name));
    thread_.SetParam(c.name.c_str(), T::kParamFileName, 1);
    int32_t type = -1;
    thread_.GetParam(&type, T::kParamFileType, 1);
    EXPECT_EQ(type, c.type);
    auto first = Describe(1);
    auto second = Describe(1);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get()) << "every request gets its own record";
    EXPECT_TRUE(first->complex);
    EXPECT_EQ(first->floatData, c.floatData);
    EXPECT_EQ(first->numPoints, kN);
    EXPECT_DOUBLE_EQ(first->sampleRate, kRate);
    EXPECT_DOUBLE_EQ(first->centerFreq, kCentre);
    if (c.bandwidth >= 0.0) {
      EXPECT_DOUBLE_EQ(first->bandwidth, c.bandwidth);
    }
    EXPECT_EQ(second->numPoints, kN);
  }
  // .iqtxt: recognised, described as an empty record.
  thread_.SetParam(WriteIqtxt("d.iqtxt").c_str(), T::kParamFileName, 2);
  auto txt = Describe(2);
  ASSERT_TRUE(txt);
  EXPECT_TRUE(txt->complex);
  EXPECT_FALSE(txt->floatData);
  EXPECT_EQ(txt->numPoints, 0);
  EXPECT_EQ(txt->scale, 1.0f);
  EXPECT_EQ(txt->sampleRate, 0.0);
}

TEST_F(DataManagerThreadTest, SetNineReadsAWholeIqbinWhileTheRequesterWaits) {
  const std::wstring name = WriteIqbin("whole.iqbin");
  thread_.SetParam(name.c_str(), T::kParamFileName, 0);
  auto info = Describe(0);
  CQFileDataBlock block;
  CQCArrayTD* const samples = block.samples.get();
  block.partialRead = false;
  block.start = 0;
  block.count = static_cast<int32_t>(info->numPoints);
  thread_.SetParam(&block, T::kParamReadData, 0);
  // The samples are in place when the request returns.
  EXPECT_EQ(block.samples.get(), samples);
  ASSERT_EQ(block.samples->GetNumPoints(), kN);
  EXPECT_EQ(block.numPoints, kN);
  EXPECT_DOUBLE_EQ(block.sampleRate, kRate);
  EXPECT_DOUBLE_EQ(block.centerFreq, kCentre);
  EXPECT_EQ(block.rawSamples->GetNumPoints(), 0);
  const auto ref = Ramp();
  for (int k = 0; k < kN; ++k) {
    EXPECT_EQ(block.samples->GetDataPtr()[k], ref->GetDataPtr()[k]) << k;
  }

  // A partial window beyond the end comes back zero-padded to the count.
  block.partialRead = true;
  block.start = kN - 2;
  block.count = 5;
  thread_.SetParam(&block, T::kParamReadData, 0);
  ASSERT_EQ(block.samples->GetNumPoints(), 5);
  EXPECT_EQ(block.samples->GetDataPtr()[0], ref->GetDataPtr()[kN - 2]);
  EXPECT_EQ(block.samples->GetDataPtr()[4], CQComplex(0.0f, 0.0f));

  // A partial read of count 0 resets the block.
  block.count = 0;
  block.start = 7;
  thread_.SetParam(&block, T::kParamReadData, 0);
  EXPECT_EQ(block.start, 0);
  EXPECT_EQ(block.numPoints, 0);
  EXPECT_EQ(block.samples->GetNumPoints(), 0);
}

TEST_F(DataManagerThreadTest, SetNineReadsASiqPairWithItsTimeReference) {
  auto err = Catch([&] { thread_.SetParam(WriteSiq("rec").c_str(), T::kParamFileName, 3); });
  ASSERT_FALSE(err.thrown) << err.message << err.callStack;
  thread_.PutMessage(T::kMsgOpenDataFile, nullptr, 3);
  EXPECT_EQ(Describe(3)->numPoints, kN);  // as the engine does: describe, then read
  CQFileDataBlock block;
  block.partialRead = false;
  block.count = kN;
  err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 3); });
  ASSERT_FALSE(err.thrown) << err.message << err.callStack;
  ASSERT_EQ(block.samples->GetNumPoints(), kN);
  EXPECT_EQ(block.samples->GetDataPtr()[1], CQComplex(1.0f, -2.0f));
  EXPECT_EQ(block.samples->GetDataPtr()[kN - 1], CQComplex(kN - 1.0f, -2.0f * (kN - 1)));
  EXPECT_EQ(block.samples->StartDateTime().year, 2019);
  EXPECT_EQ(block.numPoints, kN);
  EXPECT_DOUBLE_EQ(block.sampleRate, kRate);
  thread_.PutMessage(T::kMsgCloseDataFile, nullptr, 3);
  thread_.PutMessage(T::kMsgOpenDataFile, nullptr, 7);  // shown, the thread goes on
  int32_t type = 0;
  thread_.GetParam(&type, T::kParamFileType, 3);
  EXPECT_EQ(type, 2);
  ASSERT_EQ(shown_.Messages().size(), 1u);
}

TEST_F(DataManagerThreadTest, SetNineReadsABinPairWindow) {
  thread_.SetParam(WriteBinPair("x").c_str(), T::kParamFileName, 1);
  EXPECT_EQ(Describe(1)->numPoints, kN);
  CQFileDataBlock block;
  block.partialRead = true;
  block.start = -1;
  block.count = 3;
  thread_.SetParam(&block, T::kParamReadData, 1);
  ASSERT_EQ(block.samples->GetNumPoints(), 3);
  EXPECT_EQ(block.samples->GetDataPtr()[0], CQComplex(0.0f, 0.0f));  // before the file
  EXPECT_NEAR(block.samples->GetDataPtr()[2].re, 0.05f, 1e-6f);
  EXPECT_NEAR(block.samples->GetDataPtr()[2].im, -0.025f, 1e-6f);
  EXPECT_EQ(block.numPoints, kN);
  EXPECT_DOUBLE_EQ(block.sampleRate, kRate);
  EXPECT_DOUBLE_EQ(block.centerFreq, kCentre);
}

// Xdat recordings and every text type through get 7 and set 9, as the
// engine uses them: set the text settings and the name, describe, then read.
TEST_F(DataManagerThreadTest, DescribesAndReadsXdatAndEachTextType) {
  struct Case {
    std::wstring name;
    int32_t txtType;
    int32_t type;
    bool floatData;
    bool partial;     // Xdat recordings are read in windows only
    double txtRate;   // the user's settings; only some types use them
    double txtCentre;
  };
  const Case cases[] = {
      {WriteXdat("rec"), 0, 1, false, true, 0.0, 0.0},
      {WriteVsa("agilent.txt", "2.5e-7", " "), 6, 6, true, false, 0.0, 0.0},
      {WriteVsa("adi.txt", "2.5e-7", ","), 7, 7, true, false, 0.0, 0.0},
      {WriteVsa("adi_us.txt", "0.25", ","), 8, 8, true, false, 0.0, 0.0},
      {WriteGeneric("iq.txt", false), 9, 9, true, false, kRate, kCentre},
      {WriteGeneric("tiq.txt", true), 10, 10, true, false, 1.0, kCentre},
      {WriteGeneric("tiq.csv", true), 11, 11, true, false, 1.0, kCentre},
      {WritePatgen("dpg1.txt", 1), 12, 12, true, false, kRate, kCentre},
      {WritePatgen("dpg2.txt", 2), 13, 13, true, false, kRate, kCentre},
  };
  int32_t index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name));
    index = (index + 1) % 4;
    thread_.SetParam(c.txtType, T::kParamTxtType, index);
    thread_.SetParam(c.txtRate, T::kParamTxtSampleRate, index);
    thread_.SetParam(c.txtCentre, T::kParamTxtCenterFreq, index);
    auto err = Catch([&] { thread_.SetParam(c.name.c_str(), T::kParamFileName, index); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    int32_t type = -1;
    thread_.GetParam(&type, T::kParamFileType, index);
    EXPECT_EQ(type, c.type);

    std::unique_ptr<CQFileInfo> info;
    err = Catch([&] { info = Describe(index); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->complex);
    EXPECT_EQ(info->floatData, c.floatData);
    EXPECT_EQ(info->numPoints, kN);
    EXPECT_NEAR(info->sampleRate, kRate, 1e-3);
    EXPECT_DOUBLE_EQ(info->centerFreq, kCentre);

    CQFileDataBlock block;
    block.partialRead = c.partial;
    block.start = 0;
    block.count = static_cast<int32_t>(info->numPoints);
    err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, index); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    for (int k = 0; k < kN; ++k) {
      EXPECT_EQ(block.samples->GetDataPtr()[k], Slope(k)) << k;
    }
    EXPECT_EQ(block.numPoints, kN);
    EXPECT_NEAR(block.sampleRate, kRate, 1e-3);
    EXPECT_DOUBLE_EQ(block.centerFreq, kCentre);
    EXPECT_NEAR(block.samples->GetSampleRate(), kRate, 1e-3);
    EXPECT_DOUBLE_EQ(block.samples->GetCenterFreq(), kCentre);
    EXPECT_EQ(block.rawSamples->GetNumPoints(), 0);
    if (c.type == 1) {
      // The recording's start time, in the record, the block and the samples.
      EXPECT_EQ(info->firstSampleTime.year, 2020);
      EXPECT_EQ(block.firstSampleTime.year, 2020);
      EXPECT_EQ(block.firstSampleTime.month, 2);
      EXPECT_EQ(block.firstSampleTime.second, 30.5);
      EXPECT_EQ(block.samples->StartDateTime(), block.firstSampleTime);
    }
  }
}

// A UTF-8 byte-order mark at the start of a text file costs no sample and
// never shifts I and Q (pattern-generator text of alternating lines would
// otherwise pair each Q with the next I).
TEST_F(DataManagerThreadTest, TextFilesWithAByteOrderMarkReadEverySample) {
  struct Case {
    std::wstring name;
    int32_t txtType;
  };
  const Case cases[] = {
      {WriteVsa("agilent.txt", "2.5e-7", " "), 6},
      {WriteVsa("adi.txt", "2.5e-7", ","), 7},
      {WriteGeneric("iq.txt", false), 9},
      {WriteGeneric("tiq.csv", true), 11},
      {WritePatgen("dpg1.txt", 1), 12},
      {WritePatgen("dpg2.txt", 2), 13},
  };
  // An assertion ends its case only.
  auto check = [&](const Case& c) {
    {
      const fs::path path = lv::WideToUtf8(c.name);
      std::ifstream in(path, std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      in.close();
      std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" << text;
    }
    thread_.SetParam(c.txtType, T::kParamTxtType, 3);
    thread_.SetParam(kRate, T::kParamTxtSampleRate, 3);
    thread_.SetParam(kCentre, T::kParamTxtCenterFreq, 3);
    thread_.SetParam(c.name.c_str(), T::kParamFileName, 3);
    std::unique_ptr<CQFileInfo> info;
    auto err = Catch([&] { info = Describe(3); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    EXPECT_EQ(info->numPoints, kN);
    CQFileDataBlock block;
    block.partialRead = false;
    block.count = kN;
    err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 3); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    for (int k = 0; k < kN; ++k) {
      EXPECT_EQ(block.samples->GetDataPtr()[k], Slope(k)) << k;
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name));
    check(c);
  }
}

// The readers that serve windows get the block's start and count.
TEST_F(DataManagerThreadTest, WindowsOfXdatAndGenericText) {
  struct Case {
    std::wstring name;
    int32_t txtType;
  };
  const Case cases[] = {
      {WriteXdat("rec"), 0},
      {WriteGeneric("iq.txt", false), 9},
      {WriteGeneric("tiq.csv", true), 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name));
    thread_.SetParam(c.txtType, T::kParamTxtType, 2);
    thread_.SetParam(kRate, T::kParamTxtSampleRate, 2);
    thread_.SetParam(c.name.c_str(), T::kParamFileName, 2);
    Describe(2);
    CQFileDataBlock block;
    block.partialRead = true;
    block.start = -1;
    block.count = 4;
    thread_.SetParam(&block, T::kParamReadData, 2);
    ASSERT_EQ(block.samples->GetNumPoints(), 4);
    EXPECT_EQ(block.samples->GetDataPtr()[0], CQComplex(0.0f, 0.0f));  // before the file
    EXPECT_EQ(block.samples->GetDataPtr()[1], Slope(0));
    EXPECT_EQ(block.samples->GetDataPtr()[3], Slope(2));
    EXPECT_NEAR(block.samples->GetTimeOrigin(), -1.0 / kRate, 1e-15);
    block.start = kN - 1;
    block.count = 2;
    thread_.SetParam(&block, T::kParamReadData, 2);
    ASSERT_EQ(block.samples->GetNumPoints(), 2);
    EXPECT_EQ(block.samples->GetDataPtr()[0], Slope(kN - 1));
    EXPECT_EQ(block.samples->GetDataPtr()[1], CQComplex(0.0f, 0.0f));  // after the file
  }
}

// The normalise flag scales pattern-generator text to a peak of 1 and
// leaves every other format as it is.
TEST_F(DataManagerThreadTest, NormaliseFlagScalesPatternGeneratorTextOnly) {
  struct Case {
    std::wstring name;
    int32_t txtType;
    bool normalise;
    float peak;
  };
  const float filePeak = std::fabs(Slope(kN - 1).re);
  const Case cases[] = {
      {WritePatgen("dpg1.txt", 1), 12, true, 1.0f},
      {WritePatgen("dpg2.txt", 2), 13, true, 1.0f},
      {WritePatgen("dpg1.txt", 1), 12, false, filePeak},
      {WriteGeneric("iq.txt", false), 9, true, filePeak},
      {WriteVsa("adi.txt", "2.5e-7", ","), 7, true, filePeak},
      {WriteIqbin("a.iqbin"), 0, true, 0.02f * (kN - 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name) + (c.normalise ? " normalised" : ""));
    thread_.SetParam(c.normalise, T::kParamNormalize, 0);
    thread_.SetParam(c.txtType, T::kParamTxtType, 0);
    thread_.SetParam(kRate, T::kParamTxtSampleRate, 0);
    thread_.SetParam(c.name.c_str(), T::kParamFileName, 0);
    Describe(0);
    CQFileDataBlock block;
    block.partialRead = false;
    block.count = kN;
    thread_.SetParam(&block, T::kParamReadData, 0);
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    float peak = 0.0f;
    for (int k = 0; k < kN; ++k) {
      peak = std::max({peak, std::fabs(block.samples->GetDataPtr()[k].re), std::fabs(block.samples->GetDataPtr()[k].im)});
    }
    EXPECT_FLOAT_EQ(peak, c.peak);
    // The shape is kept: the last sample's Q is half its I.
    const CQComplex last = block.samples->GetDataPtr()[kN - 1];
    EXPECT_FLOAT_EQ(last.im, -0.5f * last.re);
  }
}

// A new name never reads on from the data file the previous name left open.
TEST_F(DataManagerThreadTest, NewNameReadsTheNewFilesData) {
  struct Case {
    std::function<std::wstring(const std::string&, int)> write;
    std::function<CQComplex(int, int)> sample;
  };
  const Case cases[] = {
      {[this](const std::string& b, int g) { return WriteXdat(b, g); },
       [](int k, int g) { return Slope(k, static_cast<float>(g)); }},
      {[this](const std::string& b, int g) { return WriteSiq(b, g); },
       [](int k, int g) { return CQComplex(static_cast<float>(k * g), -2.0f * static_cast<float>(k * g)); }},
  };
  for (const Case& c : cases) {
    const std::wstring first = c.write("first", 1);
    const std::wstring second = c.write("second", 3);
    SCOPED_TRACE(lv::WideToUtf8(first));
    CQFileDataBlock block;
    block.partialRead = true;
    block.count = kN;
    thread_.SetParam(first.c_str(), T::kParamFileName, 1);
    thread_.PutMessage(T::kMsgOpenDataFile, nullptr, 1);
    Describe(1);
    thread_.SetParam(&block, T::kParamReadData, 1);
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    EXPECT_EQ(block.samples->GetDataPtr()[5], c.sample(5, 1));
    thread_.SetParam(second.c_str(), T::kParamFileName, 1);
    Describe(1);
    thread_.SetParam(&block, T::kParamReadData, 1);
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    EXPECT_EQ(block.samples->GetDataPtr()[5], c.sample(5, 3));
  }
  EXPECT_TRUE(shown_.Messages().empty());
}

// Each Start describes the input again and then reads it. A data file
// replaced by rename (as the system's own writers save) or rewritten in
// place between two Starts is read in the version the new description saw:
// never the old stream under the new header, never stale buffered bytes.
TEST_F(DataManagerThreadTest, EachDescriptionReadsTheDataFileVersionItDescribed) {
  // One version of a recording: n 16-bit pairs (2k g, -k g) at the rate.
  struct Format {
    const char* tag;
    const char* headerExt;
    const char* dataExt;
    bool partial;  // Xdat recordings are read in windows only
    float scale;   // what one integer step of the data is worth
    std::function<void(const std::string&, int, int, const std::string&)> write;
  };
  auto writePairs = [this](const std::string& name, int n, int gain) {
    std::ofstream d(dir_ / name, std::ios::binary);
    for (int k = 0; k < n; ++k) {
      const int16_t pair[2] = {static_cast<int16_t>(2 * k * gain), static_cast<int16_t>(-k * gain)};
      d.write(reinterpret_cast<const char*>(pair), sizeof pair);
    }
  };
  const Format formats[] = {
      {"wvdh", ".wvh", ".wvd", false, 1.0f / 32767.0f,
       [&](const std::string& base, int n, int gain, const std::string& rate) {
         WriteText(base + ".wvh", "{TYPE:RAW16LE}{COMPONENTS:IQ}{CLOCK:" + rate + "}{FREQUENCY:2400000000}");
         writePairs(base + ".wvd", n, gain);
       }},
      {"siq", ".siqh", ".siqd", false, 0.5f,
       [&](const std::string& base, int n, int gain, const std::string& rate) {
         WriteText(base + ".siqh", "RSASIQHT:1,34\nNumberFormat:IQ-Int16\nSampleRate:" + rate +
                                       "\nDataScale:0.5\nCenterFrequency:2400000000.0\n");
         writePairs(base + ".siqd", n, gain);
       }},
      {"xdat", ".xhdr", ".xdat", true, 0.0625f,
       [&](const std::string& base, int n, int gain, const std::string& rate) { WriteXdat(base, gain, rate, n); }},
  };
  enum Change { kUnchanged, kRenamed, kRewrittenShorter };
  struct Case {
    Change change;
    int n;
    int gain;
    const char* rate;
  };
  const Case cases[] = {
      {kUnchanged, kN, 1, "4000000"},
      {kRenamed, kN, 3, "2000000"},
      {kRewrittenShorter, kN / 2, 5, "2000000"},
  };
  int serial = 0;
  for (const Format& f : formats) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(f.tag) + " change " + std::to_string(c.change));
      const std::string base = "rec" + std::to_string(++serial);
      f.write(base, kN, 1, "4000000");
      const std::wstring name = W(base + f.headerExt);
      thread_.SetParam(name.c_str(), T::kParamFileName, 1);
      auto startOnce = [&](int n, int gain, double rate) {
        std::unique_ptr<CQFileInfo> info;
        auto err = Catch([&] { info = Describe(1); });
        ASSERT_FALSE(err.thrown) << err.message << err.callStack;
        EXPECT_EQ(info->numPoints, n);
        EXPECT_DOUBLE_EQ(info->sampleRate, rate);
        CQFileDataBlock block;
        block.partialRead = f.partial;
        block.start = 0;
        block.count = static_cast<int32_t>(info->numPoints);
        err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 1); });
        ASSERT_FALSE(err.thrown) << err.message << err.callStack;
        ASSERT_EQ(block.samples->GetNumPoints(), n);
        EXPECT_DOUBLE_EQ(block.sampleRate, rate);
        for (int k = 0; k < n; ++k) {
          const CQComplex expected(static_cast<float>(2 * k * gain) * f.scale, static_cast<float>(-k * gain) * f.scale);
          ASSERT_EQ(block.samples->GetDataPtr()[k], expected) << "sample " << k;
        }
      };
      startOnce(kN, 1, 4e6);
      if (c.change == kRenamed) {
        // Written next to the recording, then renamed over it.
        f.write(base + "new", c.n, c.gain, c.rate);
        for (const char* ext : {f.headerExt, f.dataExt}) {
          fs::rename(dir_ / (base + "new" + ext), dir_ / (base + ext));
        }
      } else if (c.change == kRewrittenShorter) {
        f.write(base, c.n, c.gain, c.rate);  // the same files, truncated and written again
      }
      startOnce(c.n, c.gain, std::stod(c.rate));
    }
  }
  EXPECT_TRUE(shown_.Messages().empty());
}

// A read that comes before any description of the current name parses that
// file's header itself; it never reads with an earlier file's header.
TEST_F(DataManagerThreadTest, ReadWithoutDescriptionUsesTheCurrentHeader) {
  struct Case {
    std::wstring name;
    int32_t txtType;
    bool partial;
    double rate;
    float gain;
  };
  // Input 2 first describes an Xdat recording at 4 MHz.
  thread_.SetParam(WriteXdat("old").c_str(), T::kParamFileName, 2);
  Describe(2);
  const Case cases[] = {
      {WriteXdat("new", 3, "2000000"), 0, true, 2e6, 3.0f},
      {WriteVsa("agilent.txt", "2.5e-7", " "), 6, false, kRate, 1.0f},
      {WriteVsa("adi.txt", "2.5e-7", ","), 7, false, kRate, 1.0f},
      {WriteVsa("adi_us.txt", "0.25", ","), 8, false, kRate, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name));
    thread_.SetParam(c.txtType, T::kParamTxtType, 2);
    thread_.SetParam(c.name.c_str(), T::kParamFileName, 2);
    CQFileDataBlock block;
    block.partialRead = c.partial;
    block.count = kN;
    const auto err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 2); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    ASSERT_EQ(block.samples->GetNumPoints(), kN);
    EXPECT_EQ(block.samples->GetDataPtr()[7], Slope(7, c.gain));
    EXPECT_NEAR(block.sampleRate, c.rate, 1e-3);
    EXPECT_NEAR(block.samples->GetSampleRate(), c.rate, 1e-3);
    EXPECT_EQ(block.numPoints, kN);
  }
}

// Opening the data file of a newly named recording checks it against that
// recording's own header, not the one described before.
TEST_F(DataManagerThreadTest, OpeningANewXdatRecordingUsesItsOwnHeader) {
  thread_.SetParam(WriteXdat("long").c_str(), T::kParamFileName, 0);
  EXPECT_EQ(Describe(0)->numPoints, kN);
  thread_.SetParam(WriteXdat("short", 2, "4000000", 10).c_str(), T::kParamFileName, 0);
  thread_.PutMessage(T::kMsgOpenDataFile, nullptr, 0);
  CQFileDataBlock block;
  block.partialRead = true;
  block.count = 12;
  thread_.SetParam(&block, T::kParamReadData, 0);
  ASSERT_EQ(block.samples->GetNumPoints(), 12);
  EXPECT_EQ(block.numPoints, 10);
  EXPECT_EQ(block.samples->GetDataPtr()[9], Slope(9, 2.0f));
  EXPECT_EQ(block.samples->GetDataPtr()[10], CQComplex(0.0f, 0.0f));
  const std::vector<std::string> shown = shown_.Messages();
  EXPECT_TRUE(shown.empty()) << shown[0];
}

// ADI VSA text of type 7 gives XDelta in seconds, type 8 in microseconds,
// whatever the input was read as before.
TEST_F(DataManagerThreadTest, VsaRateFollowsTheTextTypeOfEachUse) {
  struct Step {
    std::wstring name;
    int32_t txtType;
  };
  const Step steps[] = {
      {WriteVsa("us.txt", "0.25", ","), 8},
      {WriteVsa("s.txt", "2.5e-7", ","), 7},
      {WriteVsa("us2.txt", "0.25", ","), 8},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(lv::WideToUtf8(st.name));
    thread_.SetParam(st.txtType, T::kParamTxtType, 3);
    thread_.SetParam(st.name.c_str(), T::kParamFileName, 3);
    EXPECT_NEAR(Describe(3)->sampleRate, kRate, 1e-3);
    CQFileDataBlock block;
    block.partialRead = false;
    block.count = kN;
    thread_.SetParam(&block, T::kParamReadData, 3);
    EXPECT_NEAR(block.sampleRate, kRate, 1e-3);
    EXPECT_NEAR(block.samples->GetSampleRate(), kRate, 1e-3);
  }
}

// A .txt name recalled without its text type stays undetermined; once the
// type is set the description types it and reads that very file.
TEST_F(DataManagerThreadTest, TypeFoundAtDescriptionHandsTheNameToItsReader) {
  const std::wstring name = WriteGeneric("later.txt", false);
  CQAppSettings settings;
  settings.SetFileName(dir_ / "s.txt");
  settings.ResetContents();
  settings.SetValue(L"DataManager:File 0:Input file", name.c_str());
  thread_.PutMessage(6, &settings);  // recall; the next request waits behind it
  int32_t type = -1;
  thread_.GetParam(&type, T::kParamFileType, 0);
  EXPECT_EQ(type, 0);
  thread_.SetParam(9, T::kParamTxtType, 0);
  thread_.SetParam(kRate, T::kParamTxtSampleRate, 0);
  std::unique_ptr<CQFileInfo> info;
  auto err = Catch([&] { info = Describe(0); });
  ASSERT_FALSE(err.thrown) << err.message << err.callStack;
  thread_.GetParam(&type, T::kParamFileType, 0);
  EXPECT_EQ(type, 9);
  EXPECT_EQ(info->numPoints, kN);
  CQFileDataBlock block;
  block.partialRead = false;
  block.count = kN;
  thread_.SetParam(&block, T::kParamReadData, 0);
  ASSERT_EQ(block.samples->GetNumPoints(), kN);
  EXPECT_EQ(block.samples->GetDataPtr()[3], Slope(3));
}

// The refusals named for these formats reach the requester with the
// reader's, the manager's and the thread's names.
TEST_F(DataManagerThreadTest, XdatAndTextFormatFailures) {
  WriteText("empty.txt", "no numbers here\n");
  WriteText("noxdelta.txt", "InputCenter 1e9\n1 2\n");
  struct Case {
    std::wstring name;
    int32_t input;
    int32_t txtType;
    double txtRate;
    bool read;  // set 9 (a whole read), else get 7
    const char* message;
    std::vector<const char*> stack;  // in this order
  };
  const Case cases[] = {
      {WriteXdat("rec"), 1, 0, 0.0, true, "Programming error: full reads of xdat files are not supported.",
       {"CQMultiDataMgr::ReadFileData", "CWMultiDataMgrThread::OnMsgSetParam", "CWUIThread::SetParam"}},
      {WritePatgen("p.txt", 1), 1, 12, 0.0, false, "Sample rate being set to an invalid value.",
       {"CQADIDpgTxtFile::SetFileSampleRate", "CQMultiDataMgr::GetIQFileInfo",
        "CWMultiDataMgrThread::OnMsgGetParam", "CWUIThread::GetParam"}},
      {WritePatgen("p.txt", 2), 1, 13, -1.0, true, "Sample rate being set to an invalid value.",
       {"CQADIDpgTxtFile::SetFileSampleRate", "CQMultiDataMgr::ReadFileData", "CWMultiDataMgrThread::OnMsgSetParam"}},
      {W("noxdelta.txt"), 1, 6, 0.0, false, "The parameter \"XDelta\" was not found in the Agilent txt file.",
       {"CQAgilentVSATxtFile::ReadHeader", "CQAgilentVSATxtFile::GetFileInfo", "CQMultiDataMgr::GetIQFileInfo"}},
      {W("empty.txt"), 1, 9, kRate, false, "No valid data found in input file.",
       {"CQGenericTxtIQInputFile::ReadFileParams", "CQMultiDataMgr::GetIQFileInfo",
        "CWMultiDataMgrThread::OnMsgGetParam"}},
      {W("empty.txt"), 1, 13, kRate, true, "No valid data found in input file.",
       {"CQADIDpgTxtFile::ReadFileParams", "CQMultiDataMgr::ReadFileData"}},
      // Input 0 never had a text type.
      {W("plain.txt"), 0, 0, kRate, false, "Unsupported input file type.",
       {"CQMultiDataMgr::GetIQFileInfo", "CWMultiDataMgrThread::OnMsgGetParam"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.name) + " text type " + std::to_string(c.txtType));
    thread_.SetParam(c.txtType, T::kParamTxtType, c.input);
    thread_.SetParam(c.txtRate, T::kParamTxtSampleRate, c.input);
    thread_.SetParam(c.name.c_str(), T::kParamFileName, c.input);
    CQFileInfo* info = nullptr;
    CQFileDataBlock block;
    block.partialRead = false;
    block.count = kN;
    const auto e = Catch([&] {
      if (c.read) {
        thread_.SetParam(&block, T::kParamReadData, c.input);
      } else {
        thread_.GetParam(&info, T::kParamFileInfo, c.input);
      }
    });
    EXPECT_EQ(e.message, c.message);
    EXPECT_EQ(info, nullptr);
    size_t at = 0;
    for (const char* name : c.stack) {
      const size_t found = e.callStack.find(name, at);
      ASSERT_NE(found, std::string::npos) << name << " in order in\n" << e.callStack;
      at = found;
    }
  }
}

TEST_F(DataManagerThreadTest, NoInputFileSelected) {
  thread_.SetParam(WriteIqbin("other.iqbin").c_str(), T::kParamFileName, 0);
  // Never named.
  CQFileInfo* info = nullptr;
  auto e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 2); });
  EXPECT_EQ(e.message, "No input file selected.");
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWUIThread::GetParam"), std::string::npos) << e.callStack;
  EXPECT_EQ(info, nullptr);
  CQFileDataBlock block;
  block.partialRead = false;
  e = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 2); });
  EXPECT_EQ(e.message, "No input file selected.");
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgSetParam"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWUIThread::SetParam"), std::string::npos) << e.callStack;
  // Named, then emptied.
  thread_.SetParam(L"", T::kParamFileName, 0);
  std::wstring name = L"unchanged";
  thread_.GetParam(&name, T::kParamFileName, 0);
  EXPECT_TRUE(name.empty());
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 0); });
  EXPECT_EQ(e.message, "No input file selected.");
}

TEST_F(DataManagerThreadTest, ErrorsCarryTheManagersTheThreadsAndTheRequestersNames) {
  bool flag = true;
  thread_.SetParam(true, T::kParamNormalize, 0);
  thread_.GetParam(&flag, T::kParamNormalize, 9);  // the index is not used
  EXPECT_TRUE(flag);
  auto e = Catch([&] { thread_.GetParam(&flag, T::kParamActive, 9); });
  EXPECT_EQ(e.message, "Invalid file index.");
  const auto a = e.callStack.find("CQMultiDataMgr::GetIsFileActive");
  const auto b = e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam");
  const auto c = e.callStack.find("CWUIThread::GetParam");
  ASSERT_NE(a, std::string::npos) << e.callStack;
  ASSERT_NE(b, std::string::npos) << e.callStack;
  ASSERT_NE(c, std::string::npos) << e.callStack;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);

  e = Catch([&] { thread_.SetParam(1.0, T::kParamTxtSampleRate, -1); });
  EXPECT_EQ(e.message, "Invalid file index.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::SetTxtSampleRate"), std::string::npos) << e.callStack;

  e = Catch([&] { thread_.GetParam(&flag, 12, 0); });
  EXPECT_EQ(e.message, "Unknown parameter type.");

  // A reader's failure passes through the manager's and the thread's names.
  thread_.SetParam(W("missing.iqbin").c_str(), T::kParamFileName, 3);
  CQFileInfo* info = nullptr;
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 3); });
  EXPECT_TRUE(e.thrown);
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::GetIQFileInfo"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam"), std::string::npos) << e.callStack;

  // A .txt name without a text type is not a supported input.
  thread_.SetParam(W("plain.txt").c_str(), T::kParamFileName, 3);
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 3); });
  EXPECT_EQ(e.message, "Unsupported input file type.");
}

TEST_F(DataManagerThreadTest, StringAnswersAreCopies) {
  const std::wstring first = WriteIqbin("first.iqbin");
  thread_.SetParam(first.c_str(), T::kParamFileName, 1);
  std::wstring name;
  std::wstring root;
  thread_.GetParam(&name, T::kParamFileName, 1);
  thread_.GetParam(&root, T::kParamRootFileName, 1);
  EXPECT_EQ(name, first);
  EXPECT_EQ(root, L"first");
  thread_.SetParam(WriteWv("second.wv").c_str(), T::kParamFileName, 1);
  EXPECT_EQ(name, first) << "the requester's copy does not follow the input";
  EXPECT_EQ(root, L"first");
  std::wstring now;
  thread_.GetParam(&now, T::kParamFileName, 1);
  EXPECT_EQ(now, W("second.wv"));
  std::wstring none = L"x";
  thread_.GetParam(&none, T::kParamRootFileName, 2);
  EXPECT_TRUE(none.empty());
}

TEST_F(DataManagerTest, SaveAndRecallRoundTripAndMissingKeysKeepValues) {
  CQAppSettings settings;
  settings.SetFileName(dir_ / "s.txt");
  settings.ResetContents();
  M saved;
  const std::wstring names[4] = {W("in0.iqbin"), L"", W("in2.txt"), W("dir.iqbin/in3.wv")};
  for (int32_t i = 0; i < 4; ++i) {
    if (!names[i].empty()) {
      saved.SetIQFileName(names[i].c_str(), i);
    }
    saved.SetIsFileActive(i % 2 == 0, i);
    saved.SetTxtFileType(6 + i, i);
    saved.SetTxtSampleRate(1.23456789012345e6 * (i + 1), i);
    saved.SetTxtCenterFreq(-2.412345678e9 + i, i);
  }
  saved.SaveSettings(&settings);

  M recalled;
  recalled.SetIQFileName(W("keep1.wv").c_str(), 1);  // input 1 has no name key
  recalled.RecallSettings(&settings);
  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(recalled.GetIsFileActive(i), i % 2 == 0);
    EXPECT_EQ(recalled.GetTxtFileType(i), 6 + i);
    EXPECT_EQ(recalled.GetTxtSampleRate(i), 1.23456789012345e6 * (i + 1));
    EXPECT_EQ(recalled.GetTxtCenterFreq(i), -2.412345678e9 + i);
  }
  EXPECT_EQ(std::wstring(recalled.GetIQFileName(0)), names[0]);
  EXPECT_EQ(std::wstring(recalled.GetIQFileName(1)), W("keep1.wv"));
  EXPECT_EQ(std::wstring(recalled.GetIQFileName(2)), names[2]);
  EXPECT_EQ(std::wstring(recalled.GetIQFileName(3)), names[3]);
  EXPECT_EQ(recalled.GetInputFileType(0), 3);
  EXPECT_EQ(recalled.GetInputFileType(2), 8);  // .txt typed with the recalled text type
  EXPECT_EQ(recalled.GetInputFileType(3), 15);

  // A file without the keys changes nothing.
  CQAppSettings empty;
  empty.SetFileName(dir_ / "empty.txt");
  empty.ResetContents();
  recalled.RecallSettings(&empty);
  EXPECT_EQ(recalled.GetTxtFileType(3), 9);
  EXPECT_EQ(std::wstring(recalled.GetIQFileName(3)), names[3]);
  // Without the text-type key a .txt name stays undetermined.
  CQAppSettings onlyName;
  onlyName.SetFileName(dir_ / "name.txt");
  onlyName.ResetContents();
  onlyName.SetValue(L"DataManager:File 2:Input file", W("other.txt").c_str());
  recalled.RecallSettings(&onlyName);
  EXPECT_EQ(recalled.GetInputFileType(2), 0);
  EXPECT_EQ(recalled.GetTxtFileType(2), 8);
}

TEST_F(DataManagerTest, TextTypeSettingAndRefusedReads) {
  M m;
  m.SetTxtFileType(5, 0);
  m.SetTxtFileType(14, 0);
  EXPECT_EQ(m.GetTxtFileType(0), 0);
  m.SetTxtFileType(9, 0);
  m.SetIQFileName(W("g.txt").c_str(), 0);
  EXPECT_EQ(m.GetInputFileType(0), 9);
  m.SetTxtFileType(13, 0);
  EXPECT_EQ(m.GetTxtFileType(0), 13);
  EXPECT_EQ(m.GetInputFileType(0), 9) << "the type code waits for the next name";

  auto e = Catch([&] { m.SetIQFileName(nullptr, 0); });
  EXPECT_EQ(e.message, "Attempt to set file name to a Null string.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::SetIQFileName"), std::string::npos);
  e = Catch([&] { m.ReadFileData(nullptr, 0); });
  EXPECT_EQ(e.message, "Null pointer to input data.");

  // Whole reads of Xdat recordings are refused.
  m.SetIQFileName(W("r.xhdr").c_str(), 1);
  CQFileDataBlock block;
  block.partialRead = false;
  e = Catch([&] { m.ReadFileData(&block, 1); });
  EXPECT_EQ(e.message, "Programming error: full reads of xdat files are not supported.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::ReadFileData"), std::string::npos);

  // Pattern-generator text needs a positive rate.
  m.SetTxtFileType(12, 2);
  m.SetIQFileName(W("p.txt").c_str(), 2);
  block.partialRead = true;
  block.count = 4;
  e = Catch([&] { m.ReadFileData(&block, 2); });
  EXPECT_EQ(e.message, "Sample rate being set to an invalid value.");
  EXPECT_NE(e.callStack.find("CQADIDpgTxtFile::SetFileSampleRate"), std::string::npos);
  e = Catch([&] { delete m.GetIQFileInfo(m.GetIQFileName(2), 2); });
  EXPECT_EQ(e.message, "Sample rate being set to an invalid value.");

  // Empty name: cleared, type kept.
  m.SetIQFileName(L"", 1);
  EXPECT_EQ(m.GetIQFileName(1), nullptr);
}

}  // namespace
