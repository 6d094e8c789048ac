#include <gtest/gtest.h>

#include "xcvr/instr_settings.h"

namespace {

using Settings = CQInstrIIOMultiXcvrSettings;

TEST(XcvrSettings, ConstructionAndCounts) {
  Settings s(4, 4);
  EXPECT_EQ(s.NumXmtrs(), 4);
  EXPECT_EQ(s.connectionType, kConnectionLan);
  EXPECT_EQ(s.Rcvr(3).gainMode, 1);
  EXPECT_FALSE(s.AnyXmtrOn());
  s.Xmtr(2).on = true;
  EXPECT_TRUE(s.AnyXmtrOn());
  Settings none(-3, -1);
  EXPECT_EQ(none.NumXmtrs(), 0);
  EXPECT_EQ(none.NumRcvrs(), 0);
  EXPECT_FALSE(none.AnyXmtrOn());
  s.SetIPAddress(L"");
  EXPECT_EQ(s.GetIPAddress(), nullptr);
  s.SetIPAddress(L"192.168.2.1");
  s.Reset();
  EXPECT_EQ(s.GetIPAddress(), nullptr);
  EXPECT_FALSE(s.AnyXmtrOn());
}

TEST(XcvrSettings, SameConnectionTable) {
  struct Case {
    int typeA;
    const wchar_t* ipA;
    const wchar_t* uriA;
    int typeB;
    const wchar_t* ipB;
    const wchar_t* uriB;
    bool same;
  } cases[] = {
      {1, L"192.168.2.1", nullptr, 1, L"192.168.2.1", nullptr, true},
      {1, L"192.168.2.1", nullptr, 1, L"192.168.2.2", nullptr, false},
      {1, nullptr, nullptr, 1, nullptr, nullptr, true},
      {1, L"192.168.2.1", nullptr, 1, nullptr, nullptr, false},
      {4, nullptr, L"usb:1.2.5", 4, nullptr, L"usb:3.4.5", true},  // USB ignores the URI
      {1, L"x", nullptr, 4, L"x", nullptr, false},
  };
  for (const auto& c : cases) {
    Settings a(4, 4), b(4, 4);
    a.connectionType = c.typeA;
    a.SetIPAddress(c.ipA);
    a.SetURI(c.uriA);
    b.connectionType = c.typeB;
    b.SetIPAddress(c.ipB);
    b.SetURI(c.uriB);
    EXPECT_EQ(a.SameConnection(&b), c.same);
  }
  Settings a(4, 4);
  EXPECT_FALSE(a.SameConnection(nullptr));
}

TEST(XcvrSettings, TransmitterComparison) {
  Settings a(4, 4), b(4, 4);
  EXPECT_TRUE(a.SameXmtrSettings(&b, 0));
  a.Xmtr(0).attenuation = 10;  // both off: other fields do not matter
  EXPECT_TRUE(a.SameXmtrSettings(&b, 0));
  a.Xmtr(0).on = b.Xmtr(0).on = true;
  EXPECT_FALSE(a.SameXmtrSettings(&b, 0));
  b.Xmtr(0).attenuation = 10;
  EXPECT_TRUE(a.SameXmtrSettings(&b, 0));
  a.Xmtr(0).phase = 0.005f;  // within 0.01
  a.Xmtr(0).centerFreq = 1.0;  // within 1 Hz
  a.xmtrCenterFreq = 0.9;
  EXPECT_TRUE(a.SameXmtrSettings(&b, 0));
  a.Xmtr(0).phase = 0.02f;
  EXPECT_FALSE(a.SameXmtrSettings(&b, 0));
  a.Xmtr(0).phase = 0.0f;
  a.xmtrCenterFreq = 1.5;
  EXPECT_FALSE(a.SameXmtrSettings(&b, 0));
  a.xmtrCenterFreq = 0;
  EXPECT_FALSE(a.SameXmtrSettings(&b, 5));  // more than this object has
  EXPECT_FALSE(a.SameXmtrSettings(nullptr, 0));
  Settings big(6, 4), big2(6, 4);
  EXPECT_FALSE(big.SameXmtrSettings(&big2, 0));  // more than four records always differ
  EXPECT_TRUE(big.SameXmtrSettings(&big2, 4));
  Settings small(2, 4);
  EXPECT_FALSE(a.SameXmtrSettings(&small, 3));
}

TEST(XcvrSettings, ReceiverComparison) {
  Settings a(4, 4), b(4, 4);
  EXPECT_TRUE(a.SameRcvrSettings(&b, 0));
  a.rcvrNumSamples = 10;
  EXPECT_FALSE(a.SameRcvrSettings(&b, 0));
  a.rcvrNumSamples = 0;
  a.Rcvr(1).on = b.Rcvr(1).on = true;
  a.Rcvr(1).gain = 20;
  EXPECT_FALSE(a.SameRcvrSettings(&b, 0));  // manual gains differ
  a.Rcvr(1).gainMode = b.Rcvr(1).gainMode = 2;
  EXPECT_TRUE(a.SameRcvrSettings(&b, 0));  // automatic: the gain is not compared
  a.Rcvr(1).gainMode = 1;
  EXPECT_FALSE(a.SameRcvrSettings(&b, 0));
}

TEST(XcvrSettings, CopyFromAndCopyChanged) {
  Settings src(4, 4);
  src.modelSet = src.xmtrsSet = true;
  src.model = kModelAd9371;
  src.xmtrCenterFreq = 2.4e9;
  src.Xmtr(1) = {true, 20, 45.0f, 1e6};
  src.Rcvr(0).gainMode = 2;
  src.Rcvr(0).gain = 7;
  src.rcvrCenterFreq = 1e9;
  src.rateIndex = 100;
  src.connectionType = kConnectionUsbAuto;
  src.SetURI(L"usb:1.2.5");

  Settings full(4, 4);
  full.CopyFrom(&src);
  EXPECT_EQ(full.model, kModelAd9371);
  EXPECT_TRUE(full.modelSet);
  EXPECT_EQ(full.Xmtr(1).attenuation, 20);
  EXPECT_EQ(full.Rcvr(0).gain, 7);
  EXPECT_EQ(full.Rcvr(0).gainMode, 1);  // gain mode is not copied
  EXPECT_STREQ(full.GetURI(), L"usb:1.2.5");
  Settings otherCounts(2, 4);
  otherCounts.CopyFrom(&src);
  EXPECT_EQ(otherCounts.model, 0);

  // CopyChanged takes only the flagged groups and keeps its own flags.
  Settings merged(4, 4);
  merged.CopyChanged(&src);
  EXPECT_EQ(merged.model, kModelAd9371);
  EXPECT_EQ(merged.Xmtr(1).attenuation, 20);
  EXPECT_EQ(merged.rcvrCenterFreq, 0.0);  // receivers not flagged
  EXPECT_EQ(merged.rateIndex, 0);
  EXPECT_EQ(merged.connectionType, kConnectionLan);
  EXPECT_FALSE(merged.modelSet);

  // A flagged group whose count differs: nothing at all is copied.
  Settings wrong(2, 4);
  wrong.modelSet = wrong.xmtrsSet = wrong.connectionSet = true;
  wrong.model = kModelAd9081;
  wrong.connectionType = kConnectionUsbAuto;
  Settings target(4, 4);
  target.CopyChanged(&wrong);
  EXPECT_EQ(target.model, 0);
  EXPECT_EQ(target.connectionType, kConnectionLan);

  // The connection group replaces and clears the strings.
  Settings conn(4, 4);
  conn.connectionSet = true;
  conn.SetIPAddress(nullptr);
  Settings hasIp(4, 4);
  hasIp.SetIPAddress(L"10.0.0.2");
  hasIp.CopyChanged(&conn);
  EXPECT_EQ(hasIp.GetIPAddress(), nullptr);
}

TEST(XcvrSettings, CopyConstructionIsIndependent) {
  Settings a(4, 4);
  a.SetIPAddress(L"192.168.2.1");
  a.Xmtr(0).on = true;
  Settings copy(a);
  a.SetIPAddress(L"10.1.1.1");
  a.Xmtr(0).on = false;
  EXPECT_STREQ(copy.GetIPAddress(), L"192.168.2.1");
  EXPECT_TRUE(copy.Xmtr(0).on);
}

}  // namespace

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "workers/settings_file.h"

namespace {

class XcvrSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() / ("lv_xcvr_settings_" + std::to_string(::getpid()) + ".config");
    store_.SetFileName(path_);
    store_.ResetContents();
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::filesystem::path path_;
  CQAppSettings store_;
};

TEST_F(XcvrSettingsFile, KeysRoundTripWithoutUriOrGainMode) {
  CQInstrIIOMultiXcvrSettings a(4, 4);
  a.model = kModelAd9081;
  a.xmtrCenterFreq = 2.412345678e9;
  a.Xmtr(3) = {true, 17, -12.5f, 123456789.125};
  a.rcvrNumSamples = 4096;
  a.rcvrCalFactor = 1.5f;
  a.rcvrCenterFreq = 1e9;
  a.Rcvr(1) = {true, 33, 7.0f, 5e6, 2};
  a.rateIndex = 400;
  a.connectionType = kConnectionLan;
  a.SetIPAddress(L"192.168.2.1");
  a.SetURI(L"usb:1.2.5");
  a.SaveSettings(&store_);

  CQInstrIIOMultiXcvrSettings b(4, 4);
  b.SetURI(L"usb:9.9.9");
  b.Rcvr(1).gainMode = 1;
  b.RecallSettings(&store_);
  EXPECT_TRUE(b.modelSet && b.xmtrsSet && b.rcvrsSet && b.rateSet && b.connectionSet);
  EXPECT_EQ(b.model, kModelAd9081);
  EXPECT_EQ(b.xmtrCenterFreq, 2.412345678e9);  // exact
  EXPECT_TRUE(b.Xmtr(3).on);
  EXPECT_EQ(b.Xmtr(3).attenuation, 17);
  EXPECT_EQ(b.Xmtr(3).phase, -12.5f);
  EXPECT_EQ(b.Xmtr(3).centerFreq, 123456789.125);
  EXPECT_EQ(b.rcvrNumSamples, 4096);
  EXPECT_EQ(b.Rcvr(1).gain, 33);
  EXPECT_EQ(b.Rcvr(1).gainMode, 1);     // not saved
  EXPECT_STREQ(b.GetURI(), L"usb:9.9.9");  // not saved
  EXPECT_STREQ(b.GetIPAddress(), L"192.168.2.1");
  EXPECT_EQ(b.rateIndex, 400);
}

TEST_F(XcvrSettingsFile, RateIndexClampAndMissingKeys) {
  for (const auto& [stored, expected] : std::vector<std::pair<int, int>>{{801, 801}, {802, 0}, {5000, 0}, {-1, 0}}) {
    store_.ResetContents();
    store_.SetValue(L"Instr:MultiXcvr:Xcvr rate", stored);
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.rateIndex = 6;
    s.RecallSettings(&store_);
    EXPECT_EQ(s.rateIndex, expected) << stored;
  }
  // A file without any transceiver line changes nothing and still sets all flags.
  store_.ResetContents();
  store_.SetValue(L"Other:Key", 3);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.model = kModelAd9371;
  s.SetIPAddress(L"10.0.0.1");
  s.RecallSettings(&store_);
  EXPECT_EQ(s.model, kModelAd9371);
  EXPECT_STREQ(s.GetIPAddress(), L"10.0.0.1");
  EXPECT_TRUE(s.modelSet && s.connectionSet);
}

}  // namespace
