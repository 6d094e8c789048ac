// The data manager and its thread, with real files in a temporary folder.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "core/array_math.h"
#include "core/error_dialog.h"
#include "iqfiles/data_manager.h"
#include "iqfiles/data_manager_thread.h"
#include "iqfiles/iqbin.h"
#include "iqfiles/iqtxt.h"
#include "iqfiles/pair_files.h"
#include "iqfiles/wv.h"
#include "platform/text.h"
#include "tests/core/arrays/error_matchers.h"

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
    previous_ = SetErrorPresenter([this](CQErrorDlg& dlg) {
      std::lock_guard<std::mutex> lock(mutex_);
      shown_.push_back(dlg.Lines().empty() ? L"" : dlg.Lines()[0]);
    });
  }
  void TearDown() override {
    SetErrorPresenter(previous_);
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
  // A SIQ pair holding the integers (2k, -4k) with data scale 0.5.
  std::wstring WriteSiq(const std::string& base) {
    {
      std::ofstream h(dir_ / (base + ".siqh"), std::ios::binary);
      h << "RSASIQHT:1,34\nNumberFormat:IQ-Int16\nSampleRate:4000000.0\nDataScale:0.5\n"
           "CenterFrequency:2400000000.0\nAcqBandwidth:1600000\nTimeRefWallTime:2019-03-14T12:34:56.789\n";
    }
    std::ofstream d(dir_ / (base + ".siqd"), std::ios::binary);
    for (int k = 0; k < kN; ++k) {
      const int16_t pair[2] = {static_cast<int16_t>(2 * k), static_cast<int16_t>(-4 * k)};
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
  std::wstring WriteIqtxt(const std::string& name) {
    CLumvardTxtFile txt;
    txt.SetFileName(W(name).c_str());
    txt.WriteToFile(Ramp().get());
    return W(name);
  }

  fs::path dir_;
  std::mutex mutex_;
  std::vector<std::wstring> shown_;
  CQErrorPresenter previous_;
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
  ASSERT_FALSE(err.thrown) << lv::WideToUtf8(err.message) << err.callStack;
  thread_.PutMessage(T::kMsgOpenDataFile, nullptr, 3);
  EXPECT_EQ(Describe(3)->numPoints, kN);  // as the engine does: describe, then read
  CQFileDataBlock block;
  block.partialRead = false;
  block.count = kN;
  err = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 3); });
  ASSERT_FALSE(err.thrown) << lv::WideToUtf8(err.message) << err.callStack;
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
  std::lock_guard<std::mutex> lock(mutex_);
  ASSERT_EQ(shown_.size(), 1u);
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

TEST_F(DataManagerThreadTest, NoInputFileSelected) {
  thread_.SetParam(WriteIqbin("other.iqbin").c_str(), T::kParamFileName, 0);
  // Never named.
  CQFileInfo* info = nullptr;
  auto e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 2); });
  EXPECT_EQ(e.message, L"No input file selected.");
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWUIThread::GetParam"), std::string::npos) << e.callStack;
  EXPECT_EQ(info, nullptr);
  CQFileDataBlock block;
  block.partialRead = false;
  e = Catch([&] { thread_.SetParam(&block, T::kParamReadData, 2); });
  EXPECT_EQ(e.message, L"No input file selected.");
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgSetParam"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWUIThread::SetParam"), std::string::npos) << e.callStack;
  // Named, then emptied.
  thread_.SetParam(L"", T::kParamFileName, 0);
  std::wstring name = L"unchanged";
  thread_.GetParam(&name, T::kParamFileName, 0);
  EXPECT_TRUE(name.empty());
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 0); });
  EXPECT_EQ(e.message, L"No input file selected.");
}

TEST_F(DataManagerThreadTest, ErrorsCarryTheManagersTheThreadsAndTheRequestersNames) {
  bool flag = true;
  thread_.SetParam(true, T::kParamNormalize, 0);
  thread_.GetParam(&flag, T::kParamNormalize, 9);  // the index is not used
  EXPECT_TRUE(flag);
  auto e = Catch([&] { thread_.GetParam(&flag, T::kParamActive, 9); });
  EXPECT_EQ(e.message, L"Invalid file index.");
  const auto a = e.callStack.find("CQMultiDataMgr::GetIsFileActive");
  const auto b = e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam");
  const auto c = e.callStack.find("CWUIThread::GetParam");
  ASSERT_NE(a, std::string::npos) << e.callStack;
  ASSERT_NE(b, std::string::npos) << e.callStack;
  ASSERT_NE(c, std::string::npos) << e.callStack;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);

  e = Catch([&] { thread_.SetParam(1.0, T::kParamTxtSampleRate, -1); });
  EXPECT_EQ(e.message, L"Invalid file index.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::SetTxtSampleRate"), std::string::npos) << e.callStack;

  e = Catch([&] { thread_.GetParam(&flag, 12, 0); });
  EXPECT_EQ(e.message, L"Unknown parameter type.");

  // A reader's failure passes through the manager's and the thread's names.
  thread_.SetParam(W("missing.iqbin").c_str(), T::kParamFileName, 3);
  CQFileInfo* info = nullptr;
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 3); });
  EXPECT_TRUE(e.thrown);
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::GetIQFileInfo"), std::string::npos) << e.callStack;
  EXPECT_NE(e.callStack.find("CWMultiDataMgrThread::OnMsgGetParam"), std::string::npos) << e.callStack;

  // Unsupported and not-yet-readable types.
  thread_.SetParam(W("plain.txt").c_str(), T::kParamFileName, 3);
  e = Catch([&] { thread_.GetParam(&info, T::kParamFileInfo, 3); });
  EXPECT_EQ(e.message, L"Unsupported input file type.");
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

TEST_F(DataManagerTest, TextTypeSettingAndUnavailableReaders) {
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
  EXPECT_EQ(e.message, L"Attempt to set file name to a Null string.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::SetIQFileName"), std::string::npos);
  e = Catch([&] { m.ReadFileData(nullptr, 0); });
  EXPECT_EQ(e.message, L"Null pointer to input data.");

  // Whole reads of Xdat recordings are refused.
  m.SetIQFileName(W("r.xhdr").c_str(), 1);
  CQFileDataBlock block;
  block.partialRead = false;
  e = Catch([&] { m.ReadFileData(&block, 1); });
  EXPECT_EQ(e.message, L"Programming error: full reads of xdat files are not supported.");
  EXPECT_NE(e.callStack.find("CQMultiDataMgr::ReadFileData"), std::string::npos);

  // Pattern-generator text needs a positive rate.
  m.SetTxtFileType(12, 2);
  m.SetIQFileName(W("p.txt").c_str(), 2);
  block.partialRead = true;
  block.count = 4;
  e = Catch([&] { m.ReadFileData(&block, 2); });
  EXPECT_EQ(e.message, L"Sample rate being set to an invalid value.");
  EXPECT_NE(e.callStack.find("CQADIDpgTxtFile::SetFileSampleRate"), std::string::npos);
  e = Catch([&] { delete m.GetIQFileInfo(m.GetIQFileName(2), 2); });
  EXPECT_EQ(e.message, L"Sample rate being set to an invalid value.");

  // Empty name: cleared, type kept.
  m.SetIQFileName(L"", 1);
  EXPECT_EQ(m.GetIQFileName(1), nullptr);
}

}  // namespace
