// The transceiver against the fake board: the real libiio client on loopback.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_iiod.h"
#include "platform/text.h"
#include "support/errors.h"
#include "xcvr/multi_xcvr.h"

namespace {

using lv_fake::FakeIiod;
using lv_test::Catch;

class RecordingXcvr : public CQInstrIIOMultiXcvr {
 public:
  RecordingXcvr() : CQInstrIIOMultiXcvr(4, 4) {}
  void ShowStatusText(const wchar_t* text) override { texts.emplace_back(text); }
  std::vector<std::wstring> texts;
};

// A waveform of n samples whose largest component is `peak`: a ramp of I with Q = -I/2.
std::unique_ptr<CQCArrayTD> Waveform(int n, double rate, float peak = 0.5f) {
  std::vector<CQComplex> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const float x = peak * static_cast<float>(i + 1) / static_cast<float>(n);
    v[static_cast<size_t>(i)] = CQComplex(x, -x / 2);
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), n, rate, 0.0);
  return a;
}

struct Family {
  const char* fixture;
  int model;
  int rate;
  double txRate;
  const char* txDevice;
};

class TransceiverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lv_xcvr_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
    std::ofstream(dir_ / "AD9361_5Msps.ftr") << "RX 3 GAIN -6 DEC 4\n";
  }
  void TearDown() override {
    xcvr_.reset();
    fake_.reset();
    std::filesystem::remove_all(dir_);
  }

  void StartBoard(const std::string& xml) {
    fake_ = std::make_unique<FakeIiod>(xml);
    fake_->Start();
  }

  // A transceiver set up for the model, connected over LAN to the fake, with
  // transmitter 0 on.
  void MakeXcvr(int model, int rate) {
    xcvr_ = std::make_unique<RecordingXcvr>();
    xcvr_->SetBasebandDir(lv::Utf8ToWide(dir_.string()).c_str());
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.SetAllFlags(true);
    s.model = model;
    s.rateIndex = rate;
    s.connectionType = kConnectionLan;
    s.SetIPAddress(lv::Utf8ToWide(fake_->Address()).c_str());
    s.xmtrCenterFreq = 2.4e9;
    s.rcvrCenterFreq = 1e9;
    s.Xmtr(0).on = true;
    s.Xmtr(0).attenuation = 80;
    s.Xmtr(0).centerFreq = 100e6;
    xcvr_->SetSettings(&s);
  }

  // The int16 pairs of the first push.
  std::vector<int16_t> Pushed(const char* device, size_t index = 0) {
    const auto pushes = fake_->Pushes(device);
    EXPECT_GT(pushes.size(), index);
    if (pushes.size() <= index) return {};
    std::vector<int16_t> v(pushes[index].size() / 2);
    std::memcpy(v.data(), pushes[index].data(), v.size() * 2);
    return v;
  }

  std::filesystem::path dir_;
  std::unique_ptr<FakeIiod> fake_;
  std::unique_ptr<RecordingXcvr> xcvr_;
};

TEST_F(TransceiverTest, Ad9361FirstTransmitWritesInOrderThenPushesScaledSamples) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  auto wave = Waveform(1000, 2e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  ASSERT_TRUE(xcvr_->GetTransmitNow());
  const std::vector<std::string> expected = {
      "WRITE ad9361-phy OUTPUT voltage0 filter_fir_en 0",
      "WRITE ad9361-phy OUTPUT voltage1 filter_fir_en 0",
      "WRITE ad9361-phy INPUT voltage0 filter_fir_en 0",
      "WRITE ad9361-phy INPUT voltage1 filter_fir_en 0",
      "WRITE ad9361-phy OUTPUT voltage0 sampling_frequency 30720000",
      "WRITE ad9361-phy OUTPUT voltage1 sampling_frequency 30720000",
      "WRITE ad9361-phy INPUT voltage0 sampling_frequency 30720000",
      "WRITE ad9361-phy INPUT voltage1 sampling_frequency 30720000",
      "WRITE ad9361-phy DEV filter_fir_config RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n",
      "WRITE ad9361-phy OUTPUT voltage0 filter_fir_en 1",
      "WRITE ad9361-phy OUTPUT altvoltage0 frequency 1000000000",
      "WRITE ad9361-phy OUTPUT voltage0 hardwaregain -70.000000",
      "WRITE ad9361-phy OUTPUT altvoltage1 frequency 2400000000",
      "OPEN cf-ad9361-dds-core-lpc 1000 00000003 CYCLIC",
      "WRITEBUF cf-ad9361-dds-core-lpc 4000",
  };
  EXPECT_EQ(fake_->EventStrings({"WRITE", "OPEN", "WRITEBUF"}), expected);
  EXPECT_EQ(xcvr_->GetSettings()->Xmtr(0).attenuation, 70);  // clamped and read back
  EXPECT_FLOAT_EQ(xcvr_->GetBackoff(), 2.0f);
  const auto s = Pushed("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(s.size(), 2000u);
  // The largest component (0.5) becomes 32767 * 10^(-2/20), truncated: 26027.
  EXPECT_EQ(s[2 * 999], 26027);
  EXPECT_EQ(s[2 * 999 + 1], -13013);  // Q = -I/2
  for (int k = 0; k < 1000; ++k) {
    const float x = (0.5f * static_cast<float>(k + 1) / 1000.0f) / 0.5f;
    const float g = 32767.0f * static_cast<float>(std::pow(10.0, -2.0 / 20));
    ASSERT_EQ(s[2 * static_cast<size_t>(k)], static_cast<int16_t>(std::trunc(g * x))) << k;
  }
  EXPECT_NE(std::find(xcvr_->texts.begin(), xcvr_->texts.end(), L"Transmitting"), xcvr_->texts.end());
  EXPECT_STREQ(xcvr_->GetConnectionDescription(), (L"LAN:" + lv::Utf8ToWide(fake_->Address())).c_str());
}

TEST_F(TransceiverTest, SecondTransmitRebuildsOnlyTheBufferAndRateOrModelChangesAct) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  auto wave = Waveform(1000, 2e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  xcvr_->Transmit();
  fake_->ClearEvents();
  auto wave2 = Waveform(1000, 2e6, 0.25f);
  xcvr_->SetXmtrData(wave2.get(), 0);
  xcvr_->Transmit();
  EXPECT_EQ(fake_->EventStrings({"CONNECT", "WRITE", "OPEN", "WRITEBUF"}),
            (std::vector<std::string>{"CONNECT", "OPEN cf-ad9361-dds-core-lpc 1000 00000003 CYCLIC",
                                      "WRITEBUF cf-ad9361-dds-core-lpc 4000"}));

  // Only the rate changes: the pass runs again (new filter file), no reconnect.
  fake_->ClearEvents();
  CQInstrIIOMultiXcvrSettings rate(4, 4);
  rate.rateSet = true;
  rate.rateIndex = 2;
  xcvr_->SetSettings(&rate);
  auto wave5 = Waveform(1000, 5e6);
  xcvr_->SetXmtrData(wave5.get(), 0);
  xcvr_->Transmit();
  const auto writes = fake_->EventStrings({"WRITE"});
  EXPECT_NE(std::find(writes.begin(), writes.end(), "WRITE ad9361-phy DEV filter_fir_config RX 3 GAIN -6 DEC 4\n"),
            writes.end());
  EXPECT_TRUE(fake_->EventStrings({"PRINT"}).empty());

  // Only the model changes (to another AD9361 board): a reconnect.
  fake_->ClearEvents();
  CQInstrIIOMultiXcvrSettings model(4, 4);
  model.modelSet = true;
  model.model = kModelAdrv9361;
  xcvr_->SetSettings(&model);
  xcvr_->SetXmtrData(wave5.get(), 0);
  xcvr_->Transmit();
  EXPECT_EQ(fake_->EventStrings({"PRINT"}).size(), 1u);

  // Disconnect cancels the buffer (its connection ends) and ends the context.
  // The two connections are served by different threads: their order in the log is not fixed.
  fake_->ClearEvents();
  xcvr_->Disconnect();
  ASSERT_TRUE(fake_->WaitForEvent("EXIT", 2000));
  ASSERT_TRUE(fake_->WaitForEvent("EOF", 2000));
  EXPECT_FALSE(xcvr_->IsConnected());
  EXPECT_EQ(xcvr_->Applied().model, 0);
}

TEST_F(TransceiverTest, EveryFamilysDistinctiveWritesAndBuffer) {
  struct Case {
    Family f;
    std::vector<std::string> mustContain;  // in this order
    std::string open;
    int samplesPerFrame;  // int16 values per sample in the push
  } cases[] = {
      {{"ad9371", kModelAd9371, 100, 245.76e6, "axi-ad9371-tx-hpc"},
       {"WRITE axi-ad9371-tx-hpc OUTPUT altvoltage0 scale 0", "WRITE axi-ad9371-tx-hpc OUTPUT altvoltage7 scale 0",
        "WRITE ad9371-phy OUTPUT altvoltage0 RX_LO_frequency 1000000000",
        "WRITE ad9371-phy OUTPUT voltage0 hardwaregain -41.000000",
        "WRITE ad9371-phy OUTPUT altvoltage1 TX_LO_frequency 2400000000"},
       "OPEN axi-ad9371-tx-hpc 64 00000003 CYCLIC",
       2},
      {{"adrv9009", kModelAdrv9009, 200, 245.76e6, "axi-adrv9009-tx-hpc"},
       {"WRITE axi-adrv9009-tx-hpc OUTPUT altvoltage0 scale 0",
        "WRITE adrv9009-phy OUTPUT voltage0 hardwaregain -41.000000",
        "WRITE adrv9009-phy OUTPUT altvoltage0 frequency 1000000000"},
       "OPEN axi-adrv9009-tx-hpc 64 00000003 CYCLIC",
       2},
      {{"ad9081", kModelAd9081, 400, 250e6, "axi-ad9081-tx-hpc"},
       {"WRITE axi-ad9081-tx-hpc DEBUG pl_ddr_fifo_enable 1", "WRITE axi-ad9081-tx-hpc OUTPUT altvoltage15 scale 0",
        "WRITE axi-ad9081-rx-hpc OUTPUT voltage0_i en 0", "WRITE axi-ad9081-rx-hpc OUTPUT voltage0_i en 1",
        "WRITE axi-ad9081-rx-hpc OUTPUT voltage0_i main_nco_frequency 100000000",
        "WRITE axi-ad9081-rx-hpc OUTPUT voltage0_i channel_nco_gain_scale 0.500000"},
       "OPEN axi-ad9081-tx-hpc 64 00000003 CYCLIC",
       2},
      {{"ad9082", kModelAd9082, 401, 1.5e9, "axi-ad9081-tx-hpc"},
       {"WRITE axi-ad9081-tx-hpc DEBUG pl_ddr_fifo_enable 1", "WRITE axi-ad9081-tx-hpc OUTPUT altvoltage7 scale 0"},
       "OPEN axi-ad9081-tx-hpc 64 00000003 CYCLIC",
       2},
      {{"fmcdaq2", kModelFmcdaq2, 500, 500e6, "axi-ad9144-hpc"}, {}, "OPEN axi-ad9144-hpc 64 00000001 CYCLIC", 1},
      {{"ad9172", kModelAd9172, 800, 368.64e6, "axi-ad9172-hpc"},
       {"WRITE axi-ad9172-hpc OUTPUT altvoltage0 frequency 1", "WRITE axi-ad9172-hpc OUTPUT voltage0 enable 0",
        "WRITE axi-ad9172-hpc OUTPUT voltage6 enable 1", "WRITE axi-ad9172-hpc OUTPUT voltage6 frequency 100000000"},
       "OPEN axi-ad9172-hpc 64 00000003 CYCLIC",
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.f.fixture);
    StartBoard(lv_fake::ReadBoardFixture(c.f.fixture));
    MakeXcvr(c.f.model, c.f.rate);
    auto wave = Waveform(64, c.f.txRate);
    xcvr_->SetXmtrData(wave.get(), 0);
    ASSERT_TRUE(xcvr_->Transmit());
    const auto events = fake_->EventStrings({"WRITE", "OPEN"});
    size_t at = 0;
    for (const auto& line : c.mustContain) {
      auto it = std::find(events.begin() + static_cast<ptrdiff_t>(at), events.end(), line);
      ASSERT_NE(it, events.end()) << "missing or out of order: " << line;
      at = static_cast<size_t>(it - events.begin()) + 1;
    }
    ASSERT_FALSE(fake_->EventStrings({"OPEN"}).empty());
    EXPECT_EQ(fake_->EventStrings({"OPEN"}).back(), c.open);
    const auto s = Pushed(c.f.txDevice);
    ASSERT_EQ(s.size(), static_cast<size_t>(64 * c.samplesPerFrame));
    const int16_t peak = c.f.model == kModelAd9371 ? 26027 : 18426;  // 2 dB and 5 dB backoff
    EXPECT_EQ(s[static_cast<size_t>(63 * c.samplesPerFrame)], peak);
    xcvr_.reset();
    fake_.reset();
  }
}

TEST_F(TransceiverTest, ConnectionFailuresGiveTheirMessages) {
  const std::string xml = lv_fake::ReadBoardFixture("ad9361");
  struct Case {
    std::string xml;
    const char* prefix;
  } cases[] = {
      {lv_fake::WithoutDevice(xml, "ad9361-phy"), "Error finding IIO device ad9361-phy."},
      {lv_fake::WithoutDevice(xml, "cf-ad9361-lpc"), "Error finding IIO device ad9361-lpc."},
      {lv_fake::WithoutDevices(xml), "No IIO devices found."},
  };
  for (const auto& c : cases) {
    StartBoard(c.xml);
    MakeXcvr(kModelFmcomms3, 1);
    auto wave = Waveform(100, 2e6);
    xcvr_->SetXmtrData(wave.get(), 0);
    const auto e = Catch([&] { xcvr_->Transmit(); });
    EXPECT_EQ(e.message.rfind(c.prefix, 0), 0u) << e.message;
    EXPECT_EQ(e.callStack, "CQInstrIIOMultiXcvr::IIOConnect\nCQInstrIIOMultiXcvr::Connect\nCQInstrIIOMultiXcvr::Transmit\n");
    xcvr_.reset();
    fake_.reset();
  }
  // Nothing listening at the address.
  int port;
  {
    FakeIiod gone(xml);
    port = gone.Start();
  }
  fake_ = std::make_unique<FakeIiod>(xml);  // only for Address(): replaced below
  xcvr_ = std::make_unique<RecordingXcvr>();
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelFmcomms3;
  s.rateIndex = 1;
  s.SetIPAddress(lv::Utf8ToWide("127.0.0.1:" + std::to_string(port)).c_str());
  s.Xmtr(0).on = true;
  xcvr_->SetSettings(&s);
  auto wave = Waveform(100, 2e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  const auto e = Catch([&] { xcvr_->Transmit(); });
  EXPECT_EQ(e.message.rfind("Error creating IIO context.", 0), 0u);
}

TEST_F(TransceiverTest, RefusedOpenAndDroppedConnection) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  fake_->SetOpenError(-16);
  MakeXcvr(kModelFmcomms3, 1);
  auto wave = Waveform(100, 2e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message, "Error creating transmit buffer.");
  xcvr_->Disconnect();
  fake_->SetOpenError(0);
  fake_->SetDropOn("WRITEBUF");
  xcvr_->SetXmtrData(wave.get(), 0);
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message, "Error sending samples to transmitter.");
  xcvr_->Disconnect();  // the process lives on and tears down cleanly
}

TEST_F(TransceiverTest, WaveformChecks) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  CQInstrIIOMultiXcvrSettings both(*xcvr_->GetSettings());
  both.Xmtr(1).on = true;
  xcvr_->SetSettings(&both);
  auto a = Waveform(1000, 2e6);
  auto b = Waveform(1001, 2e6);
  xcvr_->SetXmtrData(a.get(), 0);
  xcvr_->SetXmtrData(b.get(), 1);
  auto e = Catch([&] { xcvr_->Transmit(); });
  EXPECT_EQ(e.message.rfind("The number of samples in each transmit waveform is not the same.", 0), 0u);
  auto slow = Waveform(1000, 1e6);
  xcvr_->SetXmtrData(slow.get(), 1);
  e = Catch([&] { xcvr_->Transmit(); });
  EXPECT_EQ(e.message.rfind("The sample rate of the transmit waveform does not match", 0), 0u);
  EXPECT_TRUE(fake_->EventStrings({"OPEN"}).empty());

  // Too long: refused with a clear message, never cut.
  auto longWave = Waveform(kMaxTransmitSamples + 1, 2e6);
  xcvr_->SetXmtrData(longWave.get(), 0);
  xcvr_->SetXmtrData(longWave.get(), 1);
  e = Catch([&] { xcvr_->Transmit(); });
  EXPECT_NE(e.message.find("at most 2097152"), std::string::npos);

  // A NaN sample is refused before conversion.
  auto nan = Waveform(1000, 2e6);
  nan->GetDataPtr()[5].im = std::nanf("");
  xcvr_->SetXmtrData(nan.get(), 0);
  xcvr_->SetXmtrData(a.get(), 1);
  e = Catch([&] { xcvr_->Transmit(); });
  EXPECT_NE(e.message.find("not a finite number"), std::string::npos);

  // All zeros transmit zeros.
  CQCArrayTD zeros(1000);
  zeros.SetSampleRate(2e6);
  xcvr_->SetXmtrData(&zeros, 0);
  xcvr_->SetXmtrData(&zeros, 1);
  EXPECT_TRUE(xcvr_->Transmit());
  const auto s = Pushed("cf-ad9361-dds-core-lpc");
  EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](int16_t v) { return v == 0; }));
  EXPECT_EQ(fake_->EventStrings({"OPEN"}).back(), "OPEN cf-ad9361-dds-core-lpc 1000 0000000f CYCLIC");

  // Manual backoff drops its sign.
  xcvr_->SetAutoBackoff(false);
  xcvr_->SetBackoff(-5.0f);
  xcvr_->SetXmtrData(a.get(), 0);
  xcvr_->SetXmtrData(a.get(), 1);
  xcvr_->Transmit();
  EXPECT_FLOAT_EQ(xcvr_->GetBackoff(), 5.0f);
  EXPECT_EQ(Pushed("cf-ad9361-dds-core-lpc", 1)[4 * 999], 18426);  // frames hold I0 Q0 I1 Q1

  // Every transmitter off: the buffer goes and the answer is still true.
  CQInstrIIOMultiXcvrSettings off(*xcvr_->GetSettings());
  off.Xmtr(0).on = off.Xmtr(1).on = false;
  xcvr_->SetSettings(&off);
  fake_->ClearEvents();
  EXPECT_TRUE(xcvr_->Transmit());
  ASSERT_TRUE(fake_->WaitForEvent("EOF", 2000));
}

TEST_F(TransceiverTest, NoDataAndFilterFileLimits) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message, "No data to transmit.");
  // A filter file must leave room for its terminating zero.
  std::ofstream(dir_ / "AD9361_8Msps.ftr") << std::string(4096, 'x');
  CQInstrIIOMultiXcvrSettings rate(4, 4);
  rate.rateSet = true;
  rate.rateIndex = 3;
  xcvr_->SetSettings(&rate);
  auto wave = Waveform(100, 8e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message,
            "The number of bytes in the baseband rate file exceeds the buffer size.");
  xcvr_->Disconnect();
  std::ofstream(dir_ / "AD9361_8Msps.ftr") << std::string(4095, 'x');
  EXPECT_TRUE(xcvr_->Transmit());
  // A Pluto refuses rates above 30.72 Msps before anything of the new rate is written.
  xcvr_->Disconnect();
  CQInstrIIOMultiXcvrSettings pluto(*xcvr_->GetSettings());
  pluto.model = kModelPluto;
  pluto.rateIndex = 10;
  xcvr_->SetSettings(&pluto);
  fake_->ClearEvents();
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message, "The maximum sample rate for Pluto 2Rx 2Tx, is 30.72 Msps.");
  EXPECT_TRUE(fake_->EventStrings({"WRITE"}).empty());
}

// Frequencies that are not finite or outside the board's range are refused
// before anything is written; the pass never reports "Transmitting".
TEST_F(TransceiverTest, BadFrequenciesAreRefusedBeforeAnyWrite) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* fixture;
    int model;
    int rate;
    double txRate;
    bool receive;  // the receive centre (else the transmit centre or NCO)
    double hz;
    const char* what;
  } cases[] = {
      {"ad9361", kModelFmcomms3, 1, 2e6, false, std::nan(""), "transmit centre frequency"},
      {"ad9361", kModelFmcomms3, 1, 2e6, false, inf, "transmit centre frequency"},
      {"ad9361", kModelFmcomms3, 1, 2e6, false, -inf, "transmit centre frequency"},
      {"ad9361", kModelFmcomms3, 1, 2e6, false, 1e300, "transmit centre frequency"},
      {"ad9361", kModelFmcomms3, 1, 2e6, true, 1e6, "receive centre frequency"},  // below 70 MHz
      {"ad9371", kModelAd9371, 100, 245.76e6, true, std::nan(""), "receive centre frequency"},
      {"adrv9009", kModelAdrv9009, 200, 245.76e6, true, inf, "receive centre frequency"},
      {"ad9172", kModelAd9172, 800, 368.64e6, false, 1e300, "transmit NCO frequency"},
      {"ad9081", kModelAd9081, 400, 250e6, false, -inf, "transmit NCO frequency"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + " " + std::to_string(c.hz));
    StartBoard(lv_fake::ReadBoardFixture(c.fixture));
    MakeXcvr(c.model, c.rate);
    CQInstrIIOMultiXcvrSettings bad(*xcvr_->GetSettings());
    if (c.receive) {
      bad.rcvrCenterFreq = c.hz;
    } else {
      bad.xmtrCenterFreq = c.hz;
      bad.Xmtr(0).centerFreq = c.hz;
    }
    xcvr_->SetSettings(&bad);
    auto wave = Waveform(64, c.txRate);
    xcvr_->SetXmtrData(wave.get(), 0);
    const auto e = Catch([&] { xcvr_->Transmit(); });
    ASSERT_TRUE(e.thrown);
    EXPECT_EQ(e.message.rfind(std::string("The ") + c.what, 0), 0u) << e.message;
    EXPECT_NE(e.message.find("is not a frequency the board can use"), std::string::npos) << e.message;
    // Connecting may write (FIFO mode, tones off); no frequency, gain or buffer follows.
    for (const auto& line : fake_->EventStrings({"WRITE", "OPEN", "WRITEBUF"})) {
      EXPECT_EQ(line.find("frequency"), std::string::npos) << line;
      EXPECT_EQ(line.find("hardwaregain"), std::string::npos) << line;
      EXPECT_EQ(line.rfind("WRITE ", 0), 0u) << line;
    }
    EXPECT_EQ(std::find(xcvr_->texts.begin(), xcvr_->texts.end(), L"Transmitting"), xcvr_->texts.end());
    xcvr_.reset();
    fake_.reset();
  }
}

TEST_F(TransceiverTest, AttenuationZeroIsWrittenWithoutASign) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  CQInstrIIOMultiXcvrSettings s(*xcvr_->GetSettings());
  s.Xmtr(0).attenuation = 0;
  xcvr_->SetSettings(&s);
  auto wave = Waveform(100, 2e6);
  xcvr_->SetXmtrData(wave.get(), 0);
  ASSERT_TRUE(xcvr_->Transmit());
  const auto writes = fake_->EventStrings({"WRITE"});
  EXPECT_NE(std::find(writes.begin(), writes.end(), "WRITE ad9361-phy OUTPUT voltage0 hardwaregain 0.000000"),
            writes.end());
  EXPECT_EQ(std::find(writes.begin(), writes.end(), "WRITE ad9361-phy OUTPUT voltage0 hardwaregain -0.000000"),
            writes.end());
}

TEST_F(TransceiverTest, TransmitterBeyondTheBoardIsNamed) {
  StartBoard(lv_fake::ReadBoardFixture("ad9361"));
  MakeXcvr(kModelFmcomms3, 1);
  CQInstrIIOMultiXcvrSettings third(*xcvr_->GetSettings());
  third.Xmtr(0).on = false;
  third.Xmtr(2).on = true;
  xcvr_->SetSettings(&third);
  auto wave = Waveform(100, 2e6);
  xcvr_->SetXmtrData(wave.get(), 2);
  EXPECT_EQ(Catch([&] { xcvr_->Transmit(); }).message, "Transmitter 3 is on, but this board has 2 transmitters.");
  EXPECT_TRUE(fake_->EventStrings({"WRITEBUF"}).empty());
}

}  // namespace
