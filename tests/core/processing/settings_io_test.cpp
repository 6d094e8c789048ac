#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "workers/settings_file.h"
#include "core/processing/sample_rate_mgr_settings.h"

namespace {

class SettingsIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lv_srm_settings_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    store_.SetFileName(dir_ / "settings.txt");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;
  CQAppSettings store_;
};

CQSampleRateMgrSettings Unusual(int k) {
  CQSampleRateMgrSettings s;
  s.doFreqShiftFirst = true;
  s.interpolationOn = true;
  s.interpolationRate = 6 + k;
  s.decimationOn = true;
  s.decimationRate = 5;
  s.arbResampleOn = true;
  s.outputSampleRate = 2.4576123e6 + k;
  s.freqShiftOn = true;
  s.freqShift = -12345.678;
  s.timeShiftOn = true;
  s.timeDelay = 1.25e-7;
  s.phaseAdjustOn = true;
  s.phaseDeg = 33.3f;
  s.filterOn = true;
  s.filterType = 24;
  s.gainAdjustOn = true;
  s.gainDb = -3.7f;
  s.noiseOn = true;
  s.noiseLevel = -133.5f;
  s.samplesLimitOn = true;
  s.maxSamples = 4321;
  return s;
}

}  // namespace

TEST_F(SettingsIo, SavedRecordComesBackUnderEachPrefix) {
  store_.BeginSave();
  Unusual(0).SaveSettings(&store_, L"Xmtr:0:");
  Unusual(1).SaveSettings(&store_, L"Xmtr:1:");
  store_.CommitSave();
  {
    std::ifstream f(dir_ / "settings.txt");
    std::string all((std::istreambuf_iterator<char>(f)), {});
    EXPECT_NE(all.find("Xmtr:0:SampleRateMgr:Interpolation rate = 6"), std::string::npos);
    EXPECT_NE(all.find("Xmtr:1:SampleRateMgr:Max samples = 4321"), std::string::npos);
  }
  for (int k : {1, 0}) {
    CQSampleRateMgrSettings r;
    r.RecallSettings(&store_, k == 0 ? L"Xmtr:0:" : L"Xmtr:1:");
    EXPECT_EQ(r, Unusual(k)) << k;
    EXPECT_EQ(store_.GetUseSection(), 0);
  }
}

TEST_F(SettingsIo, MissingKeyKeepsItsFieldAndNullStoreDoesNothing) {
  store_.BeginSave();
  CQSampleRateMgrSettings s = Unusual(0);
  s.SaveSettings(&store_, L"Xmtr:0:");
  store_.CommitSave();
  // Drop one key from the file.
  std::ifstream in(dir_ / "settings.txt");
  std::string line, kept;
  while (std::getline(in, line))
    if (line.find("Gain (dB)") == std::string::npos) kept += line + "\n";
  in.close();
  std::ofstream(dir_ / "settings.txt") << kept;
  CQSampleRateMgrSettings r;
  r.gainDb = 1.5f;
  r.RecallSettings(&store_, L"Xmtr:0:");
  CQSampleRateMgrSettings want = Unusual(0);
  want.gainDb = 1.5f;
  EXPECT_EQ(r, want);
  CQSampleRateMgrSettings untouched;
  untouched.RecallSettings(nullptr, L"Xmtr:0:");
  untouched.SaveSettings(nullptr, L"Xmtr:0:");
  EXPECT_EQ(untouched, CQSampleRateMgrSettings());
  untouched.CopyFrom(nullptr);
  EXPECT_EQ(untouched, CQSampleRateMgrSettings());
  untouched.CopyFrom(&want);
  EXPECT_EQ(untouched, want);
}
